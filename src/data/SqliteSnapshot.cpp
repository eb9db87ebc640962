// The walk statement is kept active until the end so that the read transaction it holds
// covers MoveLast's count and the restart of MoveFirst (the new walk is stepped before the
// old one is released): RecordCount after MoveLast is the count of the rows walked.
#include "data/SqliteSnapshot.h"

#include "data/DaoErrors.h"

namespace ktv::dao {

SqliteSnapshot::SqliteSnapshot(SqliteDatabase& db, std::shared_ptr<const TableInfo> table, std::string where,
                               std::vector<Value> params)
    : m_db(&db), m_table(std::move(table)), m_where(std::move(where)), m_params(std::move(params))
{
    m_walk = startWalk();
    if (stepRow(m_walk.get())) {
        m_current = m_walk.get();
        m_eof = false;
        m_index = 0;
        m_seen = 1;
    } else {
        m_walk.reset();
        m_count = 0;
        m_seen = 0;
    }
}

SqliteSnapshot::~SqliteSnapshot()
{
    if (m_db)
        m_db->forget(this);
}

SqliteDatabase& SqliteSnapshot::db() const
{
    if (!m_db)
        raise(err::ObjectClosed);
    return *m_db;
}

Statement SqliteSnapshot::startWalk() const
{
    return db().prepareBound("SELECT " + m_table->selectList() + " FROM " + quoteIdent(m_table->name) +
                                 m_where + m_table->order,
                             m_params);
}

void SqliteSnapshot::loadRow(sqlite3_stmt* st)
{
    m_row.clear();
    for (std::size_t i = 0; i < m_table->columns.size(); ++i)
        m_row.push_back(readValue(st, static_cast<int>(i), m_table->columns[i]));
}

long SqliteSnapshot::recordCount() const
{
    db();
    // Like the original engine: the records reached so far until the count is known.
    return m_count >= 0 ? m_count : m_seen;
}

void SqliteSnapshot::moveNext()
{
    db().batch().commitIfDue();
    if (m_eof)
        raise(err::NoCurrentRecord);
    m_current = nullptr;
    if (m_atLast || !m_walk) {
        m_eof = true;
        m_atLast = false;
        m_walk.reset();
        return;
    }
    if (stepRow(m_walk.get())) {
        m_current = m_walk.get();
        ++m_index;
        m_seen = std::max(m_seen, m_index + 1);
    } else {
        m_eof = true;
        m_walk.reset();
        m_count = m_index + 1;
    }
}

void SqliteSnapshot::moveLast()
{
    db().batch().commitIfDue();
    if (m_count == 0 || (m_eof && m_seen == 0))
        raise(err::NoCurrentRecord);
    const std::string from = " FROM " + quoteIdent(m_table->name) + m_where;
    Statement count = db().prepareBound("SELECT count(*)" + from, m_params);
    const long n = stepRow(count.get()) ? static_cast<long>(sqlite3_column_int64(count.get(), 0)) : 0;
    Statement last = db().prepareBound(
        "SELECT " + m_table->selectList() + from + m_table->orderBackwards + " LIMIT 1", m_params);
    m_current = nullptr;
    if (n == 0 || !stepRow(last.get())) {
        m_eof = true;
        m_count = 0;
        m_walk.reset();
        return;
    }
    loadRow(last.get());
    m_count = n;
    m_seen = n;
    m_index = n - 1;
    m_eof = false;
    m_atLast = true;
}

void SqliteSnapshot::moveFirst()
{
    db().batch().commitIfDue();
    if (m_count == 0 || (m_eof && m_seen == 0))
        raise(err::NoCurrentRecord);
    Statement walk = startWalk();
    if (stepRow(walk.get())) {
        m_eof = false;
        m_index = 0;
        m_walk = std::move(walk); // the old walk is released only now
        m_current = m_walk.get();
    } else {
        m_eof = true;
        m_current = nullptr;
        m_walk.reset();
    }
    m_atLast = false;
}

int SqliteSnapshot::fieldIndex(const std::string& name) const
{
    db();
    const int idx = m_table->columnIndex(name, m_nextColumn);
    if (idx < 0)
        raise(err::ItemNotFound);
    return idx;
}

Value SqliteSnapshot::field(const std::string& name) const { return field(fieldIndex(name)); }

std::size_t SqliteSnapshot::readable(int idx) const
{
    db();
    if (idx < 0 || static_cast<std::size_t>(idx) >= m_table->columns.size())
        raise(err::ItemNotFound);
    if (m_eof)
        raise(err::NoCurrentRecord);
    return static_cast<std::size_t>(idx);
}

Value SqliteSnapshot::field(int idx) const
{
    const std::size_t i = readable(idx);
    if (m_current)
        return readValue(m_current, idx, m_table->columns[i]);
    return m_row[i];
}

void SqliteSnapshot::readField(int idx, Value& into) const
{
    readable(idx);
    if (m_current)
        readValueInto(m_current, idx, m_table->columns[static_cast<std::size_t>(idx)], into);
    else
        into = m_row[static_cast<std::size_t>(idx)];
}

std::vector<std::string> SqliteSnapshot::fieldNames() const
{
    std::vector<std::string> names;
    for (const auto& c : m_table->columns)
        names.push_back(c.name);
    return names;
}

void SqliteSnapshot::setField(const std::string&, const Value&) { raise(err::ReadOnly); }
void SqliteSnapshot::addNew() { raise(err::ReadOnly); }
void SqliteSnapshot::edit() { raise(err::ReadOnly); }
void SqliteSnapshot::update() { raise(err::ReadOnly); }

void SqliteSnapshot::close()
{
    m_current = nullptr;
    m_walk.reset();
    if (m_db)
        m_db->forget(this);
    m_db = nullptr;
}

void SqliteSnapshot::detach() noexcept
{
    m_current = nullptr;
    m_walk.reset();
    m_db = nullptr;
}

} // namespace ktv::dao
