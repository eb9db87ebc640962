// The schema reader and the database creator. The declared types written to SQLite are the
// engine's names (TEXT(n), LONGTEXT, SMALLINT, ...) so any SQLite tool sees the same types.
#include "data/Schema.h"

#include "data/TemplateCopy.h"

#include "data/DaoErrors.h"
#include "data/PasswordHash.h"
#include "data/SqliteCatalogue.h"
#include "data/SqliteHandles.h"
#include "data/SqliteTransaction.h"
#include "platform/core/FileMode.h"
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace ktv::dao {

namespace {

[[noreturn]] void schemaError(int line, const std::string& what)
{
    raiseText(err::SyntaxError, "Schema line " + std::to_string(line) + ": " + what);
}

std::string upper(std::string_view s) { return text::asciiUpper(s); }

bool validName(const std::string& s)
{
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0])))
        return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
              static_cast<unsigned char>(c) >= 0x80))
            return false;
    return true;
}

ColumnInfo columnType(const std::string& name, const std::string& typeText, int line)
{
    const std::string t = upper(typeText);
    ColumnInfo c = columnFromDeclared(name, t);
    if (c.kind == ColumnKind::Other)
        schemaError(line, "unknown column type '" + typeText + "'");
    if (c.kind == ColumnKind::Text && t.find('(') != std::string::npos) {
        const int n = std::atoi(t.c_str() + t.find('(') + 1);
        if (n < 1 || n > 255 || t.back() != ')')
            schemaError(line, "text length must be 1 to 255: '" + typeText + "'");
    }
    return c;
}

Value defaultLiteral(const ColumnInfo& col, const std::string& text, int line)
{
    Value v;
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
        std::string s;
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            s += text[i];
            if (text[i] == '\'')
                ++i; // '' is one quote
        }
        v = Value(s);
    } else {
        // Read in the C form whatever the process's locale says (the wizard's toolkit sets it).
        const auto d = parsePlainNumber(text);
        if (!d || !std::isfinite(*d))
            schemaError(line, "default must be 'text' or a number: " + text);
        v = Value(*d);
    }
    try {
        return convertForColumn(col, v);
    } catch (const Error& e) {
        schemaError(line, "default does not fit column " + col.name + ": " + e.description());
    }
}

std::string sqlLiteral(const Value& v)
{
    const auto& s = v.storage();
    if (const auto* t = std::get_if<std::string>(&s))
        return Quoted(*t);
    if (const auto* i = std::get_if<std::int64_t>(&s))
        return std::to_string(*i);
    if (const auto* c = std::get_if<Currency>(&s))
        return std::to_string(c->scaled);
    if (const auto* b = std::get_if<bool>(&s))
        return *b ? "1" : "0";
    double d = 0;
    if (const auto* dd = std::get_if<double>(&s))
        d = *dd;
    else if (const auto* dt = std::get_if<Date>(&s))
        d = dt->days;
    // Shortest text that reads back as the same number, always with '.' as decimal.
    char buf[40];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, d).ptr);
}

// The metadata and every table with its indexes, in one transaction.
void writeSchema(sqlite3* db, const std::vector<TableDef>& tables, const std::string& password)
{
    SqliteTransaction creating(db);
    execute(db, std::string("CREATE TABLE ") + kMetaTable + " (key TEXT PRIMARY KEY, value TEXT NOT NULL)");
    Statement meta = prepare(db, std::string("INSERT INTO ") + kMetaTable + " (key, value) VALUES (?1, ?2)");
    auto putMeta = [&](const std::string& k, const std::string& v) {
        sqlite3_reset(meta.get());
        bindValue(meta.get(), 1, Value(k));
        bindValue(meta.get(), 2, Value(v));
        stepRow(meta.get());
    };
    putMeta("format", kFormatMark);
    if (!password.empty())
        putMeta("password", hashPassword(password));
    for (const auto& t : tables) {
        std::string ddl = "CREATE TABLE " + quoteIdent(t.name) + " (";
        for (std::size_t i = 0; i < t.columns.size(); ++i) {
            const ColumnDef& c = t.columns[i];
            ddl += (i ? ", " : "") + quoteIdent(c.column.name) + " " + declaredTypeOf(c.column);
            if (isTextKind(c.column.kind))
                ddl += " COLLATE NOCASE"; // the case rule of text conditions and of the indexes
            if (c.defaultValue)
                ddl += " DEFAULT " + sqlLiteral(*c.defaultValue);
        }
        execute(db, ddl + ")");
        for (const auto& ix : t.indexes) {
            std::string name = "ix_" + t.name;
            std::string cols;
            for (const auto& c : ix) {
                name += "_" + c;
                cols += (cols.empty() ? "" : ", ") + quoteIdent(c);
            }
            execute(db, "CREATE INDEX " + quoteIdent(name) + " ON " + quoteIdent(t.name) + " (" + cols + ")");
        }
    }
    creating.commit();
}

} // namespace

std::vector<TableDef> parseSchema(const std::string& schemaText)
{
    std::vector<TableDef> tables;
    std::istringstream in(schemaText);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        // Comments start at a '#' outside quotes.
        bool quoted = false;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\'')
                quoted = !quoted;
            else if (raw[i] == '#' && !quoted) {
                raw.resize(i);
                break;
            }
        }
        std::istringstream words(raw);
        std::string first;
        if (!(words >> first))
            continue;
        const std::string key = upper(first);
        if (key == "TABLE") {
            TableDef t;
            std::string extra;
            if (!(words >> t.name) || !validName(t.name) || (words >> extra))
                schemaError(line, "TABLE needs one table name");
            for (const auto& other : tables)
                if (upper(other.name) == upper(t.name))
                    schemaError(line, "table " + t.name + " appears twice");
            tables.push_back(std::move(t));
            continue;
        }
        if (tables.empty())
            schemaError(line, "a column or index before the first TABLE");
        TableDef& t = tables.back();
        auto hasColumn = [&](const std::string& n) {
            for (const auto& c : t.columns)
                if (upper(c.column.name) == upper(n))
                    return true;
            return false;
        };
        if (key == "INDEX") {
            std::string rest;
            std::getline(words, rest);
            std::vector<std::string> cols;
            std::istringstream parts(rest);
            std::string part;
            while (std::getline(parts, part, ',')) {
                const auto b = part.find_first_not_of(" \t\r");
                const auto e = part.find_last_not_of(" \t\r");
                const std::string n = b == std::string::npos ? "" : part.substr(b, e - b + 1);
                if (!hasColumn(n))
                    schemaError(line, "INDEX names an unknown column '" + n + "'");
                cols.push_back(n);
            }
            if (cols.empty())
                schemaError(line, "INDEX needs a column");
            t.indexes.push_back(std::move(cols));
            continue;
        }
        if (!validName(first) || hasColumn(first))
            schemaError(line, "bad or repeated column name '" + first + "'");
        std::string type;
        if (!(words >> type))
            schemaError(line, "column " + first + " needs a type");
        ColumnDef def{columnType(first, type, line), std::nullopt};
        std::string word;
        if (words >> word) {
            if (upper(word) != "DEFAULT")
                schemaError(line, "unexpected '" + word + "'");
            std::string rest;
            std::getline(words, rest);
            const auto b = rest.find_first_not_of(" \t");
            const auto e = rest.find_last_not_of(" \t\r");
            def.defaultValue =
                defaultLiteral(def.column, b == std::string::npos ? "" : rest.substr(b, e - b + 1), line);
        }
        t.columns.push_back(std::move(def));
    }
    for (const auto& t : tables)
        if (t.columns.empty())
            raiseText(err::SyntaxError, "Schema: table " + t.name + " has no columns");
    return tables;
}

void CreateDatabase(const std::string& path, const std::string& schemaText, const std::string& password)
{
    const std::vector<TableDef> tables = parseSchema(schemaText);
    if (std::filesystem::exists(path))
        raise(err::DatabaseExists);
    const std::string temp = path + ".part" + std::to_string(::getpid());
    std::filesystem::remove(temp);
    try {
        {
            SqliteConnection db;
            const int rc = openConnection(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db);
            if (rc != SQLITE_OK)
                raise(err::CannotOpen, path);
            execute(db.get(), "PRAGMA journal_mode=DELETE");
            writeSchema(db.get(), tables, password);
            if (sqlite3_close(db.release()) != SQLITE_OK)
                raiseText(err::EngineFailure, "Could not finish the database '" + path + "'.");
        }
        // SQLite makes a new file 0644 less the umask; a group-writable umask is honoured too.
        ::chmod(temp.c_str(), newFileMode());
        // A file made meanwhile by someone else stays (a no-replace rename, no hard link).
        if (!placeWithoutReplacing(temp, path))
            raise(err::DatabaseExists);
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        std::filesystem::remove(temp + "-journal", ec);
        throw;
    }
}

} // namespace ktv::dao
