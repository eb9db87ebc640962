#include "data/pg/PgSchema.h"

#include "data/DaoErrors.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdlib>
#include <set>

namespace ktv::dao::pg {

namespace {

// Text columns compare bytewise ("C"): the fold above is the only rule, as in the files.
std::string columnType(const ColumnInfo& c)
{
    switch (c.kind) {
    case ColumnKind::Text: return "varchar(" + std::to_string(c.size) + ") COLLATE \"C\"";
    case ColumnKind::Memo: return "text COLLATE \"C\"";
    case ColumnKind::Byte:
    case ColumnKind::Short: return "smallint";
    case ColumnKind::Long: return "integer";
    case ColumnKind::Double: return "double precision";
    case ColumnKind::Currency: return "numeric(19,4)";
    case ColumnKind::DateTime: return "double precision"; // days since 1899-12-30, as the file holds
    case ColumnKind::Boolean: return "boolean";
    case ColumnKind::Other: break;
    }
    return "text COLLATE \"C\"";
}

// A template default as a literal of the server's SQL: the template's own constants only,
// never a value of the operator's.
std::string defaultLiteral(PgConnection& conn, const Value& v)
{
    const Param p = toParam(v);
    if (!p)
        return "NULL";
    if (v.isText()) {
        (void)conn;
        std::string out = "'";
        for (char c : *p) {
            if (c == '\'')
                out += '\'';
            out += c;
        }
        return out + "'";
    }
    if (std::holds_alternative<bool>(v.storage()))
        return *p == "t" ? "true" : "false";
    return *p;
}

std::string indexName(const TableDef& t, const std::vector<std::string>& columns)
{
    std::string name = "ix_" + t.name;
    for (const auto& c : columns)
        name += "_" + c;
    return name;
}

const ColumnInfo* findColumn(const TableDef& t, const std::string& name)
{
    for (const auto& c : t.columns)
        if (c.column.name == name)
            return &c.column;
    return nullptr;
}

std::vector<Query> createStatements(PgConnection& conn, const std::string& schema,
                                    const std::vector<TableDef>& tables)
{
    const std::string s = conn.ident(schema);
    std::vector<Query> out;
    out.push_back({"CREATE SCHEMA " + s, {}});
    for (const auto& t : tables) {
        std::string sql = "CREATE TABLE " + s + "." + conn.ident(t.name) + " (";
        for (const auto& c : t.columns) {
            sql += conn.ident(c.column.name) + " " + columnType(c.column);
            if (c.defaultValue)
                sql += " DEFAULT " + defaultLiteral(conn, *c.defaultValue);
            sql += ", ";
        }
        sql += conn.ident(kRowColumn) + " bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY)";
        out.push_back({sql, {}});
        // The lookup indexes, unique on the folded key: a key is never stored twice, whatever
        // a writer does.
        for (const auto& index : t.indexes) {
            std::string cols;
            for (const auto& name : index) {
                const ColumnInfo* c = findColumn(t, name);
                const std::string q = conn.ident(c ? c->name : name);
                cols += (cols.empty() ? "" : ", ") + (c && isTextKind(c->kind) ? foldedSql(q) : q);
            }
            out.push_back({"CREATE UNIQUE INDEX " + conn.ident(indexName(t, index)) + " ON " + s + "." +
                               conn.ident(t.name) + " (" + cols + ")",
                           {}});
        }
    }
    return out;
}

bool schemaExists(PgConnection& conn, const std::string& schema)
{
    const Result r = conn.exec("SELECT 1 FROM pg_namespace WHERE nspname = $1", {schema});
    return PQntuples(r.get()) > 0;
}

void checkSchema(PgConnection& conn, const std::string& schema, const std::vector<TableDef>& tables)
{
    // The catalogue itself: information_schema.columns costs a new connection tens of ms.
    const Result r = conn.exec("SELECT c.relname, a.attname FROM pg_catalog.pg_attribute a"
                               " JOIN pg_catalog.pg_class c ON c.oid = a.attrelid"
                               " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
                               " WHERE n.nspname = $1 AND c.relkind IN ('r', 'p') AND a.attnum > 0"
                               " AND NOT a.attisdropped",
                               {schema});
    std::set<std::pair<std::string, std::string>> have;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        have.emplace(PQgetvalue(r.get(), i, 0), PQgetvalue(r.get(), i, 1));
    for (const auto& t : tables) {
        bool ok = have.count({t.name, kRowColumn}) > 0;
        for (const auto& c : t.columns)
            ok = ok && have.count({t.name, c.column.name}) > 0;
        if (!ok)
            raiseText(3343, "Unrecognized database format '" + schema + "' on the database server '" +
                                conn.server() + "': table " + t.name + " lacks a column of its template.");
    }
}

} // namespace

std::string foldedSql(const std::string& quotedColumn)
{
    // Under the "C" collation upper() maps a-z and nothing else, whatever the server's locale,
    // byte by byte: a tenth of what translate() costs a value, paid by every index entry.
    return "upper(" + quotedColumn + " COLLATE \"C\")";
}

Query lockQuery(const std::string& schema)
{
    // Two keys: the program's own and the schema's, so other users of advisory locks on the
    // same database are not held up.
    return {"SELECT pg_advisory_xact_lock(1263818310, hashtext($1))", {schema}};
}

bool ensureSchema(PgConnection& conn, const std::string& schema, const std::vector<TableDef>& tables,
                  bool create)
{
    if (schema.size() > 63)
        raiseText(3343, "The schema name '" + schema + "' is longer than the server allows (63 bytes).");
    if (!schemaExists(conn, schema)) {
        if (!create)
            return false;
        std::vector<Query> steps{{"BEGIN", {}}, lockQuery(schema)};
        conn.pipeline(steps);
        try {
            // Made by another workstation while this one waited for the lock: kept as it is.
            if (!schemaExists(conn, schema))
                conn.pipeline(createStatements(conn, schema, tables));
            conn.exec("COMMIT");
        } catch (const Error& e) {
            if (!conn.broken())
                try {
                    conn.exec("ROLLBACK");
                } catch (const Error&) {
                }
            if (e.number() == err::NoPermission)
                throw Error(e.number(),
                            "The database server '" + conn.server() +
                                "' does not let this role create the schema '" + schema +
                                "' (GRANT CREATE ON DATABASE to the role, or create it as its owner): " +
                                e.description());
            throw;
        } catch (...) {
            if (!conn.broken())
                try {
                    conn.exec("ROLLBACK");
                } catch (const Error&) {
                }
            throw;
        }
    }
    checkSchema(conn, schema, tables);
    return true;
}

Param toParam(const Value& value)
{
    struct Visitor {
        Param operator()(const Null&) const { return std::nullopt; }
        Param operator()(bool b) const { return std::string(b ? "t" : "f"); }
        Param operator()(std::int64_t i) const { return std::to_string(i); }
        Param operator()(double d) const
        {
            if (d != d)
                return std::string("NaN");
            if (d > 1.7976931348623157e308)
                return std::string("Infinity");
            if (d < -1.7976931348623157e308)
                return std::string("-Infinity");
            char buf[40];
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
        }
        Param operator()(const Currency& c) const
        {
            const bool neg = c.scaled < 0;
            const unsigned long long a = neg ? 0ULL - static_cast<unsigned long long>(c.scaled)
                                             : static_cast<unsigned long long>(c.scaled);
            std::string frac = std::to_string(a % 10000);
            frac.insert(0, 4 - frac.size(), '0');
            return (neg ? "-" : "") + std::to_string(a / 10000) + "." + frac;
        }
        Param operator()(const Date& d) const { return (*this)(d.days); }
        Param operator()(const std::string& s) const { return s; }
    };
    return std::visit(Visitor{}, value.storage());
}

namespace {

double readDouble(const std::string& t)
{
    if (t == "NaN")
        return std::strtod("nan", nullptr);
    if (t == "Infinity")
        return std::strtod("inf", nullptr);
    if (t == "-Infinity")
        return -std::strtod("inf", nullptr);
    double d = 0;
    std::from_chars(t.data(), t.data() + t.size(), d);
    return d;
}

// "-123.4500" to ten-thousandths, digit by digit.
Currency readCurrency(const std::string& t)
{
    std::size_t i = 0;
    const bool neg = !t.empty() && t[0] == '-';
    if (neg)
        ++i;
    std::int64_t whole = 0, frac = 0;
    for (; i < t.size() && t[i] != '.'; ++i)
        whole = whole * 10 + (t[i] - '0');
    int digits = 0;
    if (i < t.size())
        for (++i; i < t.size() && digits < 4; ++i, ++digits)
            frac = frac * 10 + (t[i] - '0');
    for (; digits < 4; ++digits)
        frac *= 10;
    const std::int64_t scaled = whole * 10000 + frac;
    return Currency{neg ? -scaled : scaled};
}

} // namespace

Value fromText(const ColumnInfo& column, const char* text, int length)
{
    const std::string t(text, static_cast<std::size_t>(length));
    switch (column.kind) {
    case ColumnKind::Byte:
    case ColumnKind::Short:
    case ColumnKind::Long: {
        std::int64_t i = 0;
        std::from_chars(t.data(), t.data() + t.size(), i);
        return Value(i);
    }
    case ColumnKind::Double: return Value(readDouble(t));
    case ColumnKind::Currency: return Value(readCurrency(t));
    case ColumnKind::DateTime: return Value(Date{readDouble(t)});
    case ColumnKind::Boolean: return Value(t == "t");
    default: return Value(t);
    }
}

std::string arrayType(const ColumnInfo& column)
{
    switch (column.kind) {
    case ColumnKind::Byte:
    case ColumnKind::Short: return "smallint[]";
    case ColumnKind::Long: return "integer[]";
    case ColumnKind::Double:
    case ColumnKind::DateTime: return "double precision[]";
    case ColumnKind::Currency: return "numeric[]";
    case ColumnKind::Boolean: return "boolean[]";
    default: return "text[]";
    }
}

void appendArrayElement(std::string& array, const Param& value)
{
    array += array.size() > 1 ? "," : "";
    if (!value) {
        array += "NULL";
        return;
    }
    array += '"';
    for (char c : *value) {
        if (c == '"' || c == '\\')
            array += '\\';
        array += c;
    }
    array += '"';
}

} // namespace ktv::dao::pg
