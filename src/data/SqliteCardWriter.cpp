// Between the lookup and the insert of one record nothing commits the write batch: the
// batch is committed only when the next record (or any other engine call) begins, so the
// lookup and the add it decides on are in one transaction, as with a pinned dynaset.
#include "data/SqliteCardWriter.h"

#include "data/CardWriter.h"
#include "data/DaoErrors.h"

#include <algorithm>

namespace ktv::dao {

namespace {

// Resets a statement on every way out of a step, so it is ready for the next record.
struct ResetOnExit {
    sqlite3_stmt* st;
    ~ResetOnExit() { sqlite3_reset(st); }
};

} // namespace

SqliteCardWriter::SqliteCardWriter(SqliteDatabase& db, const CardLayout& layout)
    : m_db(&db), m_table(db.catalogue().table(layout.table)), m_columnNames(layout.columns)
{
    ParsedStatement asked;
    asked.table = layout.table;
    for (const auto& column : layout.keyColumns)
        asked.conditions.push_back({column, {}});
    m_plan = &db.catalogue().lookupPlan(*m_table, asked);
    // Existence is all a lookup asks: the first match ends it.
    m_lookup = prepare(db.handle(), "SELECT 1 FROM " + m_table->quotedName + m_plan->where);
    m_keyValues.resize(m_plan->columns.size());
    // A column the table lacks fails when a record first needs it, as SetField would.
    for (const auto& name : m_columnNames)
        m_columns.push_back(m_table->columnIndex(name));
}

SqliteCardWriter::~SqliteCardWriter()
{
    if (m_db)
        m_db->forget(this);
}

SqliteDatabase& SqliteCardWriter::db() const
{
    if (!m_db)
        raise(err::ObjectClosed);
    return *m_db;
}

bool SqliteCardWriter::exists(const std::vector<std::string>& key)
{
    if (key.size() != m_plan->columns.size())
        raise(err::TooFewParameters);
    sqlite3_stmt* st = m_lookup.get();
    ResetOnExit reset{st};
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int n = static_cast<int>(i + 1);
        if (m_plan->compareAsText[i]) {
            // The caller's text outlives the step: bound without a copy.
            checkSqlite(sqlite3_bind_text64(st, n, key[i].data(), key[i].size(), SQLITE_STATIC, SQLITE_UTF8),
                        db().handle());
        } else {
            m_keyValues[i] = m_plan->conditionValue(i, key[i]);
            bindValue(st, n, m_keyValues[i], true);
        }
    }
    return stepRow(st);
}

void SqliteCardWriter::insert(std::vector<Value>& values, const ErrorContext& context)
{
    if (values.size() != m_columns.size())
        raiseText(err::EngineFailure, "Database engine error: a new record of '" + m_table->name + "' has " +
                                          std::to_string(values.size()) + " values for " +
                                          std::to_string(m_columns.size()) + " columns.");
    SqliteDatabase& d = db();
    if (d.isReadOnly())
        raise(err::ReadOnly);
    // Converted one by one where they stand, as SetField converts: the first refusal stops
    // the record.
    for (std::size_t i = 0; i < values.size(); ++i) {
        try {
            if (m_columns[i] < 0)
                raise(err::ItemNotFound);
            convertInPlace(m_table->columns[static_cast<std::size_t>(m_columns[i])], values[i]);
        } catch (const Error& e) {
            throw columnError(e, context, m_table->name, m_columnNames[i]);
        }
    }
    if (!m_insert) {
        // SQLite would take a column named twice and keep one of its values.
        std::vector<int> sorted = m_columns;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            raiseText(err::EngineFailure,
                      "Database engine error: a column of '" + m_table->name + "' is named twice.");
        m_insert = prepare(d.handle(), m_table->insertSql(m_columns));
    }
    sqlite3_stmt* st = m_insert.get();
    ResetOnExit reset{st};
    for (std::size_t i = 0; i < values.size(); ++i)
        bindValue(st, static_cast<int>(i + 1), values[i], true); // the caller's values outlive the step
    if (stepRow(st))
        raiseText(err::EngineFailure, "Database engine error: the insert returned rows.");
    d.batch().noteStored();
}

bool SqliteCardWriter::addIfNew(const std::vector<std::string>& key, const CardValues& values,
                                const ErrorContext& context)
{
    SqliteDatabase& d = db();
    // Like a dynaset's lookup: inside the write batch (opened here when none is), so the
    // add that follows is decided on what no other writer can change meanwhile.
    if (d.isReadOnly())
        d.batch().commitIfDue();
    else
        d.beginWrite();
    if (exists(key))
        return false;
    insert(values(), context);
    return true;
}

void SqliteCardWriter::close()
{
    if (m_db)
        m_db->forget(this);
    detach();
}

void SqliteCardWriter::detach() noexcept
{
    m_lookup.reset();
    m_insert.reset();
    m_db = nullptr;
}

} // namespace ktv::dao
