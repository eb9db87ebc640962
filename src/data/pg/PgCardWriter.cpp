#include "data/pg/PgCardWriter.h"

#include "data/CardWriter.h"
#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/pg/PgSchema.h"
#include "platform/core/TextCodec.h"

#include <libpq-fe.h>

#include <utility>

namespace ktv::dao::pg {

PgCardWriter::PgCardWriter(PgDatabase& db, const PgTable& table, const CardLayout& layout)
    : m_db(&db), m_table(table), m_columnNames(layout.columns)
{
    // The keys go folded (A-Z for a-z, as the unique index folds them); those that are there
    // come back. One probe of the index a key: LIMIT keeps the planner from a scan of the
    // whole table, which it prefers for a thousand keys and which grows with the table.
    std::string unnest, names, match;
    for (std::size_t i = 0; i < layout.keyColumns.size(); ++i) {
        const int idx = table.columnIndex(layout.keyColumns[i]);
        if (idx < 0)
            raise(dao::err::TooFewParameters);
        m_keyColumns.push_back(idx);
        if (!isTextKind(table.def->columns[static_cast<std::size_t>(idx)].column.kind))
            m_batchable = false;
        const std::string n = std::to_string(i + 1);
        unnest += (unnest.empty() ? "$" : ", $") + n + "::text[]";
        names += (names.empty() ? "k" : ", k") + n;
        match += (match.empty() ? "" : " AND ") +
                 foldedSql(table.quotedColumns[static_cast<std::size_t>(idx)]) + " = k" + n;
    }
    m_lookupSql = "SELECT " + names + " FROM unnest(" + unnest + ") AS u(" + names +
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
        arrays += (arrays.empty() ? "unnest($" : ", unnest($") + std::to_string(i + 1) +
                  "::" + arrayType(table.def->columns[c].column) + ")";
    }
    // Only new keys: the lookup and this insert are in one transaction under the schema's
    // lock. A key added meanwhile by a writer that ignores the lock fails the batch on the
    // unique index (a rerun completes it); it is never stored twice. The arrays are unnested in
    // the select list, in step, row by row: unnest in FROM would first copy every row into a
    // store of its own (about a tenth of the insert's time on the server).
    m_insertSql = "INSERT INTO " + table.quoted + " (" + cols + ") SELECT " + arrays;
    m_arrays.assign(m_columns.size(), "{");
    m_lastRowSql = std::string("SELECT coalesce(max(\"") + kRowColumn + "\"), 0) FROM " + table.quoted;
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

namespace {

// The keys a lookup found, into the group's set (and the writer's filter, when it keeps one).
template <class Filter>
void readKnown(const pg_result* r, std::unordered_set<std::string>& known, Filter* filter)
{
    for (int row = 0; row < PQntuples(r); ++row) {
        std::string k;
        for (int col = 0; col < PQnfields(r); ++col)
            k.append(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col))) += '\x1f';
        if (filter)
            filter->add(k);
        known.insert(std::move(k));
    }
}

} // namespace

void PgCardWriter::KeyFilter::add(const std::string& key)
{
    const std::uint64_t h = std::hash<std::string>{}(key);
    const std::uint64_t step = (h >> 32) | 1;
    std::uint64_t at = h;
    for (int i = 0; i < 4; ++i, at += step)
        m_bits[(at >> 6) & (m_bits.size() - 1)] |= std::uint64_t{1} << (at & 63);
}

bool PgCardWriter::KeyFilter::mayHold(const std::string& key) const
{
    const std::uint64_t h = std::hash<std::string>{}(key);
    const std::uint64_t step = (h >> 32) | 1;
    std::uint64_t at = h;
    for (int i = 0; i < 4; ++i, at += step)
        if (!(m_bits[(at >> 6) & (m_bits.size() - 1)] & (std::uint64_t{1} << (at & 63))))
            return false;
    return true;
}

Query PgCardWriter::lookupQuery(const Keys& keys, const std::vector<bool>* only) const
{
    std::vector<Param> params;
    for (std::size_t column = 0; column < m_keyColumns.size(); ++column) {
        std::string a = "{";
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (!only || (*only)[k])
                appendArrayElement(a, text::asciiUpper(keys[k][column]));
        params.push_back(a + "}");
    }
    return {m_lookupSql, std::move(params), true};
}

std::optional<Query> PgCardWriter::checkFor(Group& g, bool wanted)
{
    g.first = !m_checked;
    if (!wanted && !g.first)
        return std::nullopt;
    g.mark = m_mark;
    m_markAsked = true;
    m_checked = true;
    return Query{m_lastRowSql, {}, true};
}

std::string PgCardWriter::lastRowAfter(long mark)
{
    if (mark == 0)
        return "0"; // nothing stored yet: the table is as empty as it was
    if (mark != m_readMark) {
        m_markValue = PQgetvalue(db().answerAhead(mark).get(), 0, 0);
        m_readMark = mark;
    }
    return m_markValue;
}

void PgCardWriter::judgeCheck(Group& g, const std::string& lastRow)
{
    if (g.first) {
        if (lastRow == "0") // empty: from here on the writer meets every key there is
            m_seen = std::make_unique<KeyFilter>();
        return;
    }
    if (m_seen && lastRow == lastRowAfter(g.mark))
        return;
    // Another writer added rows since the writer's last insert (found now, or by a group in
    // front): what the filter said of this group does not hold, nor will it again.
    m_seen.reset();
    if (m_mark && !m_markAsked)
        db().forgetAhead(m_mark);
    if (g.filtered) {
        g.known.clear();
        auto results = db().write({lookupQuery(g.keys, nullptr)});
        readKnown(results.back().get(), g.known, m_seen.get());
    }
}

void PgCardWriter::prefetch(const Keys& keys)
{
    PgDatabase& d = db();
    Group g;
    g.byRecord = !m_batchable;
    for (const auto& key : keys)
        if (key.size() != m_keyColumns.size())
            raise(dao::err::TooFewParameters);
    if (m_batchable && !keys.empty()) {
        if (d.isReadOnly()) {
            // A dry run looks at once, in a read of its own.
            auto results = d.beginRead({lookupQuery(keys, nullptr)});
            d.endRead();
            readKnown(results.back().get(), g.known, m_seen.get());
        } else if (d.batch().due()) {
            // A batch whose time is up is not held open by it: the lookup goes after the
            // cards of the group in front, and after the COMMIT, sent ahead with them.
            g.keys = keys;
            g.waiting = true;
        } else
            sendLookup(g, keys);
    }
    m_groups.push_back(std::move(g));
}

void PgCardWriter::sendLookup(Group& g, Keys keys)
{
    // Sent now, answered while the group in front is judged. The batch is opened first (one
    // whose time is up is committed) and pinned until the group's cards are stored: the
    // lookup, its check and the insert are in one batch however long the sending takes.
    PgDatabase& d = db();
    d.batch().begin();
    d.batch().pin();
    g.pinned = true;
    g.filtered = m_seen != nullptr;
    std::vector<bool> ask;
    bool any = !g.filtered;
    if (g.filtered)
        for (const auto& key : keys) {
            ask.push_back(m_seen->mayHold(folded(key)));
            any = any || ask.back();
        }
    if (any)
        g.ticket = d.writeAhead(lookupQuery(keys, g.filtered ? &ask : nullptr), true);
    g.waiting = false;
    g.keys = g.filtered ? std::move(keys) : Keys{};
    if (const auto check = checkFor(g, g.filtered))
        g.check = d.writeAhead(*check, true);
}

PgCardWriter::Group* PgCardWriter::front()
{
    if (m_groups.empty() || m_groups.front().byRecord)
        return nullptr;
    Group& g = m_groups.front();
    PgDatabase& d = db();
    if (g.waiting)
        sendLookup(g, std::move(g.keys));
    if (g.ticket) {
        const long ticket = g.ticket;
        g.ticket = 0;
        readKnown(d.answerAhead(ticket).get(), g.known, m_seen.get());
    }
    if (g.check) {
        const long check = g.check;
        g.check = 0;
        judgeCheck(g, PQgetvalue(d.answerAhead(check).get(), 0, 0));
    }
    g.keys = {};
    return &g;
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
    Group* g = front();
    return g ? g->holds(folded(key)) : lookUp(key);
}

bool PgCardWriter::addIfNew(const std::vector<std::string>& key, const CardValues& values,
                            const ErrorContext& context)
{
    PgDatabase& d = db();
    if (key.size() != m_keyColumns.size())
        raise(dao::err::TooFewParameters);
    Group* g = front();
    std::string k = folded(key);
    // A record by itself is looked up and stored in one batch, as a group is.
    const bool alone = !g && !d.isReadOnly();
    if (alone) {
        d.batch().begin();
        d.batch().pin();
    }
    struct Unpin {
        WriteBatch* batch;
        ~Unpin()
        {
            if (batch)
                batch->unpin();
        }
    } unpin{alone ? &d.batch() : nullptr};
    if (g ? g->holds(k) : lookUp(key))
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
    if (g) {
        if (m_seen)
            m_seen->add(k);
        g->added.push_back(k);
        g->known.insert(std::move(k));
    } else
        storeCards(false); // a record by itself is stored at once
    return true;
}

void PgCardWriter::storeCards(bool ahead)
{
    if (m_queued == 0)
        return;
    PgDatabase& d = db();
    std::vector<Param> params;
    for (auto& a : m_arrays) {
        params.emplace_back(a + "}");
        a = "{";
    }
    const long n = m_queued;
    m_queued = 0;
    // Inside the batch the lookup began: still pinned, so nothing commits between them.
    d.batch().noteStored(n);
    // A group's cards are sent now and answered with the next round trip (the next group's
    // lookup or the COMMIT).
    const Query insert{m_insertSql, std::move(params), true};
    if (!ahead) {
        d.write({insert});
        return;
    }
    d.writeAhead(insert, false);
    if (m_seen) {
        // The table's last row number after this insert, for the checks of later groups.
        if (m_mark && !m_markAsked)
            d.forgetAhead(m_mark);
        m_mark = d.writeAhead({m_lastRowSql, {}, true}, true);
        m_markAsked = false;
    }
}

void PgCardWriter::unpinAll()
{
    for (auto& g : m_groups)
        g.pinned = false; // the batch is gone, and its pins with it
}

void PgCardWriter::flush()
{
    if (!m_db) {
        m_groups.clear();
        return;
    }
    PgDatabase& d = *m_db;
    if (m_groups.empty()) {
        try {
            storeCards(false);
        } catch (...) {
            unpinAll();
            throw;
        }
        return;
    }
    Group g = std::move(m_groups.front());
    m_groups.pop_front();
    if (g.ticket)
        d.forgetAhead(g.ticket); // given up before it was judged
    if (g.check)
        d.forgetAhead(g.check);
    try {
        storeCards(!g.byRecord);
    } catch (...) {
        unpinAll();
        throw;
    }
    // The groups behind it were looked up before these cards went: they learn their keys.
    for (auto& next : m_groups)
        next.ahead.insert(g.added.begin(), g.added.end());
    if (g.pinned)
        d.batch().unpin();
    // The group behind it waited for these cards: its lookup goes now, after them and after
    // the COMMIT that was due, all sent ahead, so the server is not left idle in between.
    if (!m_groups.empty() && m_groups.front().waiting)
        try {
            sendLookup(m_groups.front(), std::move(m_groups.front().keys));
        } catch (...) {
            unpinAll();
            throw;
        }
}

void PgCardWriter::close()
{
    if (!m_db)
        return;
    std::optional<Error> failure;
    try {
        do
            flush();
        while (!m_groups.empty());
    } catch (const Error& e) {
        failure = e;
    }
    m_db = nullptr;
    if (failure)
        throw *failure;
}

} // namespace ktv::dao::pg
