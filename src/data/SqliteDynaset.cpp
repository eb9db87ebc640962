// Lookups hold only the rowids of their (few) records; values are converted when assigned,
// so a refused value fails at SetField and leaves nothing half-stored.
#include "data/SqliteDynaset.h"

#include "data/DaoErrors.h"

#include <algorithm>

namespace ktv::dao {

SqliteDynaset::SqliteDynaset(SqliteDatabase& db, std::shared_ptr<const TableInfo> table,
                             const LookupPlan& plan, std::vector<Value> params)
    : m_db(&db), m_table(std::move(table))
{
    CachedStatement st = db.prepareCached(plan.dynasetSlot, plan.dynasetSql, params);
    while (stepRow(st.get()))
        m_rowids.push_back(sqlite3_column_int64(st.get(), 0));
    if (!m_rowids.empty())
        moveTo(0);
    // Pinned last: a failing lookup leaves no pin behind.
    if (!db.isReadOnly()) {
        db.batch().pin();
        m_pinned = true;
    }
}

SqliteDynaset::~SqliteDynaset()
{
    release();
    if (m_db)
        m_db->forget(this);
}

void SqliteDynaset::release() noexcept
{
    if (m_pinned && m_db)
        m_db->batch().unpin();
    m_pinned = false;
}

SqliteDatabase& SqliteDynaset::db() const
{
    if (!m_db)
        raise(err::ObjectClosed);
    return *m_db;
}

void SqliteDynaset::loadCurrent()
{
    if (m_loaded)
        return;
    CachedStatement st = db().prepareCached("SELECT " + m_table->selectList() + " FROM " +
                                                quoteIdent(m_table->name) + " WHERE rowid = ?1",
                                            {Value(m_rowids[m_pos])});
    m_row.clear();
    m_deleted = !stepRow(st.get());
    if (!m_deleted)
        for (std::size_t i = 0; i < m_table->columns.size(); ++i)
            m_row.push_back(readValue(st.get(), static_cast<int>(i), m_table->columns[i]));
    m_loaded = true;
}

void SqliteDynaset::moveTo(std::size_t pos)
{
    m_mode = Mode::None; // moving cancels a pending AddNew or Edit, as it did in the original
    m_pending.clear();
    if (pos >= m_rowids.size()) {
        m_eof = true;
        m_row.clear();
        return;
    }
    m_pos = pos;
    m_eof = false;
    // The record is read when a field or Edit needs it: a lookup that only asks whether a
    // key exists never reads the record at all.
    m_loaded = false;
    m_deleted = false;
}

long SqliteDynaset::recordCount() const
{
    db();
    return static_cast<long>(m_rowids.size());
}

void SqliteDynaset::moveFirst()
{
    db().batch().commitIfDue();
    if (m_rowids.empty())
        raise(err::NoCurrentRecord);
    moveTo(0);
}

void SqliteDynaset::moveLast()
{
    db().batch().commitIfDue();
    if (m_rowids.empty())
        raise(err::NoCurrentRecord);
    moveTo(m_rowids.size() - 1);
}

void SqliteDynaset::moveNext()
{
    db().batch().commitIfDue();
    if (m_eof)
        raise(err::NoCurrentRecord);
    moveTo(m_pos + 1);
}

int SqliteDynaset::column(const std::string& name) const
{
    const int idx = m_table->columnIndex(name, m_nextColumn);
    if (idx < 0)
        raise(err::ItemNotFound);
    return idx;
}

int SqliteDynaset::fieldIndex(const std::string& name) const
{
    db();
    return column(name);
}

Value SqliteDynaset::field(const std::string& name) const { return field(fieldIndex(name)); }

Value SqliteDynaset::field(int idx) const
{
    db();
    if (idx < 0 || static_cast<std::size_t>(idx) >= m_table->columns.size())
        raise(err::ItemNotFound);
    if (const Value* v = pending(idx))
        return *v;
    if (m_mode == Mode::Adding)
        return Value(Null{});
    if (m_eof)
        raise(err::NoCurrentRecord);
    const_cast<SqliteDynaset*>(this)->loadCurrent();
    if (m_deleted)
        raise(err::RecordDeleted);
    return m_row[static_cast<std::size_t>(idx)];
}

std::vector<std::string> SqliteDynaset::fieldNames() const
{
    std::vector<std::string> names;
    for (const auto& c : m_table->columns)
        names.push_back(c.name);
    return names;
}

int SqliteDynaset::assignable(const std::string& name) const
{
    db();
    const int idx = column(name);
    if (m_mode == Mode::None)
        raise(err::UpdateWithoutAddNew);
    return idx;
}

void SqliteDynaset::setField(const std::string& name, const Value& v)
{
    const int idx = assignable(name);
    assign(idx, convertForColumn(m_table->columns[static_cast<std::size_t>(idx)], v));
}

void SqliteDynaset::takeField(const std::string& name, Value&& v)
{
    const int idx = assignable(name);
    assign(idx, convertForColumn(m_table->columns[static_cast<std::size_t>(idx)], std::move(v)));
}

void SqliteDynaset::assign(int idx, Value converted)
{
    // Fields are nearly always assigned in column order, each once.
    if (m_pending.empty() || m_pending.back().first < idx) {
        m_pending.emplace_back(idx, std::move(converted));
        return;
    }
    auto it = std::lower_bound(m_pending.begin(), m_pending.end(), idx,
                               [](const std::pair<int, Value>& p, int i) { return p.first < i; });
    if (it != m_pending.end() && it->first == idx)
        it->second = std::move(converted);
    else
        m_pending.emplace(it, idx, std::move(converted));
}

const Value* SqliteDynaset::pending(int idx) const
{
    for (const auto& [i, v] : m_pending)
        if (i == idx)
            return &v;
    return nullptr;
}

void SqliteDynaset::addNew()
{
    if (db().isReadOnly())
        raise(err::ReadOnly);
    db().batch().commitIfDue();
    m_mode = Mode::Adding;
    m_pending.clear();
    m_pending.reserve(m_table->columns.size());
}

void SqliteDynaset::edit()
{
    if (db().isReadOnly())
        raise(err::ReadOnly);
    db().batch().commitIfDue();
    if (m_eof)
        raise(err::NoCurrentRecord);
    loadCurrent();
    if (m_deleted)
        raise(err::RecordDeleted);
    m_mode = Mode::Editing;
    m_pending.clear();
}

void SqliteDynaset::update()
{
    SqliteDatabase& d = db();
    if (m_mode == Mode::None)
        raise(err::UpdateWithoutAddNew);
    const bool adding = m_mode == Mode::Adding;
    if (!adding && m_pending.empty()) {
        m_mode = Mode::None;
        return;
    }
    const WritePlan& plan = d.catalogue().writePlan(*m_table, adding, m_pending);
    d.beginWrite();
    CachedStatement st = d.prepareCached(plan.slot, plan.sql, {});
    int n = 0;
    for (const auto& entry : m_pending)
        bindValue(st.get(), ++n, entry.second, true); // m_pending outlives the step below
    if (!adding)
        bindValue(st.get(), ++n, Value(m_rowids[m_pos]));
    if (stepRow(st.get()))
        raiseText(err::EngineFailure, "Database engine error: the update returned rows.");
    if (adding) {
        m_rowids.push_back(sqlite3_last_insert_rowid(d.handle()));
    } else if (sqlite3_changes(d.handle()) != 1) {
        raise(err::RecordDeleted);
    }
    d.batch().noteStored();
    m_mode = Mode::None;
    m_pending.clear();
    // The key is stored: the batch may now be committed when its time is up.
    release();
    if (!adding) {
        m_loaded = false;
        loadCurrent();
    }
}

void SqliteDynaset::close()
{
    release();
    if (m_db)
        m_db->forget(this);
    m_db = nullptr;
}

void SqliteDynaset::detach() noexcept
{
    release();
    m_db = nullptr;
}

} // namespace ktv::dao
