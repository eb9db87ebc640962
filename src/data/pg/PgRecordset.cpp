#include "data/pg/PgRecordset.h"

#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/pg/PgSchema.h"

#include <libpq-fe.h>

namespace ktv::dao::pg {

namespace {
constexpr int kPage = 500;
}

PgRecordset::PgRecordset(PgDatabase& db, const PgTable& table, const ParsedStatement& statement,
                         RecordsetType type)
    : m_db(&db), m_table(table), m_dynaset(type == RecordsetType::Dynaset && !db.isReadOnly())
{
    const std::string where = db.where(table, statement, m_params);
    m_select = " FROM " + table.quoted + where;
    m_cursor = db.nextCursorName();
    std::vector<Query> open{
        {"DECLARE " + m_cursor + " SCROLL CURSOR FOR SELECT " + kRowColumn + ", " + table.selectList() +
             m_select + " ORDER BY " + kRowColumn,
         m_params},
        {"FETCH " + std::string(m_dynaset ? "ALL" : std::to_string(kPage)) + " FROM " + m_cursor, {}}};
    std::vector<Result> results;
    if (m_dynaset) {
        // The lookup opens the write batch and holds it open until the recordset closes.
        results = db.write(std::move(open));
        db.batch().pin();
        m_pinned = true;
    } else {
        const bool inBatch = db.inBatch();
        results = db.beginRead(std::move(open));
        m_reading = true;
        if (inBatch) {
            db.batch().pin(); // the cursor lives until the batch's commit
            m_pinned = true;
        }
    }
    m_page = std::move(results.back());
    m_more = !m_dynaset && PQntuples(m_page.get()) == kPage;
    if (m_dynaset)
        m_count = PQntuples(m_page.get());
}

PgRecordset::~PgRecordset()
{
    try {
        close();
    } catch (...) {
        // a destructor cannot report; Recordset::Close reports
    }
}

PgDatabase& PgRecordset::db() const
{
    if (!m_db)
        raise(dao::err::ObjectClosed);
    return *m_db;
}

void PgRecordset::fetch(const std::string& how)
{
    m_page = db().exec("FETCH " + how + " FROM " + m_cursor);
    m_row = 0;
}

long PgRecordset::recordCount() const
{
    db();
    if (m_count >= 0)
        return m_count;
    return PQntuples(m_page.get()) > 0 ? 1 : 0;
}

bool PgRecordset::eof() const { return !m_page || m_row >= PQntuples(m_page.get()); }

void PgRecordset::moveFirst()
{
    if (m_dynaset) {
        if (m_count == 0)
            raise(dao::err::NoCurrentRecord);
        m_row = 0;
        return;
    }
    db().exec("MOVE ABSOLUTE 0 IN " + m_cursor);
    fetch(std::to_string(kPage));
    m_more = PQntuples(m_page.get()) == kPage;
    if (eof())
        raise(dao::err::NoCurrentRecord);
}

void PgRecordset::moveLast()
{
    if (m_dynaset) {
        if (m_count == 0)
            raise(dao::err::NoCurrentRecord);
        m_row = static_cast<int>(m_count - 1);
        return;
    }
    const Result n = db().exec("SELECT count(*)" + m_select, m_params);
    m_count = std::stol(PQgetvalue(n.get(), 0, 0));
    fetch("ABSOLUTE -1");
    m_more = false;
    if (eof())
        raise(dao::err::NoCurrentRecord);
}

void PgRecordset::moveNext()
{
    if (eof())
        raise(dao::err::NoCurrentRecord);
    ++m_row;
    if (m_row >= PQntuples(m_page.get()) && m_more) {
        fetch(std::to_string(kPage));
        m_more = PQntuples(m_page.get()) == kPage;
    }
}

std::vector<std::string> PgRecordset::fieldNames() const
{
    std::vector<std::string> out;
    for (const auto& c : m_table.def->columns)
        out.push_back(c.column.name);
    return out;
}

int PgRecordset::fieldIndex(const std::string& name) const
{
    const int i = m_table.columnIndex(name);
    if (i < 0)
        raise(dao::err::ItemNotFound);
    return i;
}

Value PgRecordset::field(const std::string& name) const { return field(fieldIndex(name)); }

void PgRecordset::requireCurrent() const
{
    db();
    if (eof())
        raise(dao::err::NoCurrentRecord);
}

Value PgRecordset::field(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_table.def->columns.size())
        raise(dao::err::ItemNotFound);
    for (const auto& [i, v] : m_pending)
        if (i == index)
            return v;
    if (m_mode == Mode::Adding)
        return Value();
    requireCurrent();
    const int col = index + 1;
    if (PQgetisnull(m_page.get(), m_row, col))
        return Value();
    return fromText(m_table.def->columns[static_cast<std::size_t>(index)].column,
                    PQgetvalue(m_page.get(), m_row, col), PQgetlength(m_page.get(), m_row, col));
}

void PgRecordset::setField(const std::string& name, const Value& v)
{
    db();
    if (m_mode == Mode::None)
        raise(dao::err::UpdateWithoutAddNew);
    const int idx = fieldIndex(name);
    Value converted = convertForColumn(m_table.def->columns[static_cast<std::size_t>(idx)].column, v);
    for (auto& [i, value] : m_pending)
        if (i == idx) {
            value = std::move(converted);
            return;
        }
    m_pending.emplace_back(idx, std::move(converted));
}

void PgRecordset::addNew()
{
    if (!m_dynaset || db().isReadOnly())
        raise(dao::err::ReadOnly);
    m_mode = Mode::Adding;
    m_pending.clear();
}

void PgRecordset::edit()
{
    if (!m_dynaset || db().isReadOnly())
        raise(dao::err::ReadOnly);
    requireCurrent();
    m_mode = Mode::Editing;
    m_pending.clear();
}

void PgRecordset::update()
{
    PgDatabase& d = db();
    if (m_mode == Mode::None)
        raise(dao::err::UpdateWithoutAddNew);
    std::vector<Param> params;
    std::string sql;
    if (m_mode == Mode::Adding) {
        std::string cols, values;
        for (const auto& [i, v] : m_pending) {
            params.push_back(toParam(v));
            cols += (cols.empty() ? "" : ", ") + m_table.quotedColumns[static_cast<std::size_t>(i)];
            values += (values.empty() ? "$" : ", $") + std::to_string(params.size());
        }
        sql = cols.empty() ? "INSERT INTO " + m_table.quoted + " DEFAULT VALUES"
                           : "INSERT INTO " + m_table.quoted + " (" + cols + ") VALUES (" + values + ")";
    } else {
        std::string set;
        for (const auto& [i, v] : m_pending) {
            params.push_back(toParam(v));
            set += (set.empty() ? "" : ", ") + m_table.quotedColumns[static_cast<std::size_t>(i)] + " = $" +
                   std::to_string(params.size());
        }
        params.emplace_back(PQgetvalue(m_page.get(), m_row, 0));
        sql = set.empty() ? "SELECT 1"
                          : "UPDATE " + m_table.quoted + " SET " + set + " WHERE " + kRowColumn + " = $" +
                                std::to_string(params.size());
    }
    const auto results = d.write({{sql, params}});
    if (m_mode == Mode::Editing && !m_pending.empty() &&
        std::string(PQcmdTuples(results.back().get())) == "0")
        raise(dao::err::RecordDeleted);
    d.batch().noteStored();
    m_mode = Mode::None;
    m_pending.clear();
}

void PgRecordset::close()
{
    if (!m_db)
        return;
    PgDatabase& d = *m_db;
    m_db = nullptr;
    m_page.reset();
    if (m_pinned)
        d.batch().unpin();
    if (m_reading) {
        // A cursor inside the batch is closed by its commit; one in a read of its own by the
        // end of that read.
        d.endRead();
    }
}

} // namespace ktv::dao::pg
