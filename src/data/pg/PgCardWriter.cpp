#include "data/pg/PgCardWriter.h"

#include "data/CardWriter.h"
#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/pg/PgSchema.h"
#include "platform/core/TextCodec.h"

#include <libpq-fe.h>

namespace ktv::dao::pg {

PgCardWriter::PgCardWriter(PgDatabase& db, const PgTable& table, const CardLayout& layout)
    : m_db(&db), m_table(table), m_columnNames(layout.columns)
{
    std::string unnest, names, match, folded;
    for (std::size_t i = 0; i < layout.keyColumns.size(); ++i) {
        const int idx = table.columnIndex(layout.keyColumns[i]);
        if (idx < 0)
            raise(dao::err::TooFewParameters);
        m_keyColumns.push_back(idx);
        if (!isTextKind(table.def->columns[static_cast<std::size_t>(idx)].column.kind))
            m_batchable = false;
        const std::string n = std::to_string(i + 1);
        const std::string key = foldedSql("k" + n);
        unnest += (unnest.empty() ? "$" : ", $") + n + "::text[]";
        names += (names.empty() ? "k" : ", k") + n;
        folded += (folded.empty() ? "" : ", ") + key;
        match += (match.empty() ? "" : " AND ") +
                 foldedSql(table.quotedColumns[static_cast<std::size_t>(idx)]) + " = " + key;
    }
    // The keys that are there, folded as the unique index folds them: one probe of the index
    // a key (LIMIT keeps the planner from a scan of the whole table, which it prefers for a
    // thousand keys and which grows with the table).
    m_lookupSql = "SELECT " + folded + " FROM unnest(" + unnest + ") AS u(" + names +
                  ") CROSS JOIN LATERAL (SELECT 1 FROM " + table.quoted + " WHERE " + match +
                  " LIMIT 1) AS f";
    for (const auto& name : m_columnNames)
        m_columns.push_back(table.columnIndex(name));
    std::string cols, arrays;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i] < 0)
            continue; // refused with the first card that needs it
        const auto c = static_cast<std::size_t>(m_columns[i]);
        cols += (cols.empty() ? "" : ", ") + table.quotedColumns[c];
        arrays += (arrays.empty() ? "$" : ", $") + std::to_string(i + 1) +
                  "::" + arrayType(table.def->columns[c].column);
    }
    // A key added by a writer that ignored the lock is left as it is, never doubled.
    m_insertSql = "INSERT INTO " + table.quoted + " (" + cols + ") SELECT * FROM unnest(" + arrays +
                  ") ON CONFLICT DO NOTHING";
    m_arrays.assign(m_columns.size(), "{");
}

PgCardWriter::~PgCardWriter() = default;

PgDatabase& PgCardWriter::db() const
{
    if (!m_db)
        raise(dao::err::ObjectClosed);
    return *m_db;
}

std::string PgCardWriter::folded(const std::vector<std::string>& key) const
{
    std::string out;
    for (const auto& k : key)
        out += text::asciiUpper(k) + '\x1f';
    return out;
}

void PgCardWriter::prefetch(const std::vector<std::vector<std::string>>& keys)
{
    PgDatabase& d = db();
    if (!m_batchable)
        return; // record by record
    std::vector<std::string> arrays(m_keyColumns.size(), "{");
    for (const auto& key : keys) {
        if (key.size() != m_keyColumns.size())
            raise(dao::err::TooFewParameters);
        for (std::size_t i = 0; i < key.size(); ++i)
            appendArrayElement(arrays[i], key[i]);
    }
    std::vector<Param> params;
    for (auto& a : arrays)
        params.emplace_back(a + "}");
    // Read-only (a dry run) looks without a batch.
    std::vector<Result> results =
        d.isReadOnly() ? d.beginRead({{m_lookupSql, params}}) : d.write({{m_lookupSql, params}});
    if (d.isReadOnly())
        d.endRead();
    else {
        d.batch().pin(); // held open until the group's cards are stored
        m_pinned = true;
    }
    m_known.clear();
    const pg_result* r = results.back().get();
    for (int row = 0; row < PQntuples(r); ++row) {
        std::string k;
        for (int col = 0; col < PQnfields(r); ++col)
            k += std::string(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col))) +
                 '\x1f';
        m_known.insert(std::move(k));
    }
    m_grouped = true;
}

bool PgCardWriter::lookUp(const std::vector<std::string>& key)
{
    PgDatabase& d = db();
    ParsedStatement st;
    st.table = m_table.def->name;
    for (std::size_t i = 0; i < key.size() && i < m_keyColumns.size(); ++i)
        st.conditions.push_back(
            {m_table.def->columns[static_cast<std::size_t>(m_keyColumns[i])].column.name, key[i]});
    std::vector<Param> params;
    const Query q{"SELECT 1 FROM " + m_table.quoted + d.where(m_table, st, params) + " LIMIT 1", params};
    if (d.isReadOnly()) {
        auto results = d.beginRead({q});
        d.endRead();
        return PQntuples(results.back().get()) > 0;
    }
    auto results = d.write({q});
    return PQntuples(results.back().get()) > 0;
}

bool PgCardWriter::holds(const std::vector<std::string>& key)
{
    if (key.size() != m_keyColumns.size())
        raise(dao::err::TooFewParameters);
    return m_grouped ? m_known.count(folded(key)) > 0 : lookUp(key);
}

bool PgCardWriter::addIfNew(const std::vector<std::string>& key, const CardValues& values,
                            const ErrorContext& context)
{
    PgDatabase& d = db();
    if (key.size() != m_keyColumns.size())
        raise(dao::err::TooFewParameters);
    const std::string k = folded(key);
    if (m_grouped) {
        if (m_known.count(k))
            return false;
    } else if (lookUp(key))
        return false;
    if (d.isReadOnly())
        raise(dao::err::ReadOnly);
    std::vector<Value>& v = values();
    if (v.size() != m_columns.size())
        raiseText(dao::err::EngineFailure, "Database engine error: a new record of '" + m_table.def->name +
                                               "' has " + std::to_string(v.size()) + " values for " +
                                               std::to_string(m_columns.size()) + " columns.");
    // Converted and checked here, as the file's insert checks them: the first refusal stops
    // at this record, and the cards before it are stored.
    for (std::size_t i = 0; i < v.size(); ++i) {
        try {
            if (m_columns[i] < 0)
                raise(dao::err::ItemNotFound);
            convertInPlace(m_table.def->columns[static_cast<std::size_t>(m_columns[i])].column, v[i]);
        } catch (const Error& e) {
            throw columnError(e, context, m_table.def->name, m_columnNames[i]);
        }
    }
    for (std::size_t i = 0; i < v.size(); ++i)
        appendArrayElement(m_arrays[i], toParam(v[i]));
    ++m_queued;
    if (m_grouped)
        m_known.insert(k);
    else
        flush();
    return true;
}

void PgCardWriter::flush()
{
    const bool grouped = m_grouped;
    m_grouped = false;
    m_known.clear();
    if (!m_db)
        return;
    PgDatabase& d = *m_db;
    if (m_queued == 0) {
        if (m_pinned)
            d.batch().unpin();
        m_pinned = false;
        return;
    }
    std::vector<Param> params;
    for (auto& a : m_arrays) {
        params.emplace_back(a + "}");
        a = "{";
    }
    const long n = m_queued;
    m_queued = 0;
    // Inside the batch the lookup began: still pinned, so nothing commits between them.
    for (long i = 0; i < n; ++i)
        d.batch().noteStored();
    try {
        // A group's cards travel with the next group's lookup (or the COMMIT): one round trip
        // a group. A record by itself is stored at once.
        if (grouped)
            d.writeLater({m_insertSql, params});
        else
            d.write({{m_insertSql, params}});
    } catch (...) {
        m_pinned = false; // the batch is gone, and its pins with it
        throw;
    }
    if (m_pinned)
        d.batch().unpin();
    m_pinned = false;
}

void PgCardWriter::close()
{
    if (!m_db)
        return;
    std::optional<Error> failure;
    try {
        flush();
    } catch (const Error& e) {
        failure = e;
    }
    m_db = nullptr;
    if (failure)
        throw *failure;
}

} // namespace ktv::dao::pg
