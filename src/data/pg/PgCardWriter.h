// The server's add-if-new writer. It never spends a round trip per record: the table loop
// hands it the keys of up to PgDatabase::kGroup records at once (prefetch: one statement looks
// them all up), then asks record by record in source order, answered from what the lookup
// found and what this group added already (a key met twice is added once); flush() hands the
// group's new cards to the database as one statement. Both are sent ahead and parsed and
// planned once per connection: the server stores a group and looks the next one up while the
// program reads and judges. A group whose lookup went out before the group in front of it was
// stored learns that group's keys when it is stored. The lookup and the insert of a group are
// in one transaction under the schema's lock, so no other writer adds the same key in between.
//
// A table that was empty when the writer first looked is filled by it alone for as long as
// its last row number stays what the writer's own last insert left. Meanwhile a filter of
// every key the writer has met answers "not there" for most keys without asking the server:
// a group's lookup asks only for keys the filter may hold, and reads the table's last row
// number with it. When that number shows rows of another writer (they can come between two
// batches), the group is looked up whole again and the filter is given up for the run.
#pragma once

#include "data/pg/PgDatabase.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace ktv::dao::pg {

class PgCardWriter final : public CardWriterBackend {
public:
    PgCardWriter(PgDatabase& db, const PgTable& table, const CardLayout& layout);
    ~PgCardWriter() override;

    bool addIfNew(const std::vector<std::string>& key, const CardValues& values,
                  const ErrorContext& context) override;
    void prefetch(const std::vector<std::vector<std::string>>& keys) override;
    bool holds(const std::vector<std::string>& key) override;
    void flush() override;
    void close() override;

private:
    using Keys = std::vector<std::vector<std::string>>;
    // A group handed over by prefetch, judged and flushed first in, first out.
    struct Group {
        std::unordered_set<std::string> known; // folded keys there or added by this group
        std::vector<std::string> added;        // of them, those this group added
        std::unordered_set<std::string> ahead; // added by groups stored after its lookup went
        bool holds(const std::string& k) const { return known.count(k) > 0 || ahead.count(k) > 0; }
        bool byRecord = false; // keys not all text: each record looked up alone
        long ticket = 0;       // the lookup's answer, still to be read
        long check = 0;        // the table's last row number read with it, still to be read
        long mark = 0;         // the writer's own last row number then (0: none yet)
        bool filtered = false; // only keys the filter may hold were asked for
        bool first = false;    // its check tells whether the table is empty
        bool waiting = false;  // its lookup waits for the group in front to be stored
        // Its keys, while the lookup waits or (filtered) until the check is judged: the group
        // is then looked up whole should the check fail.
        Keys keys;
        bool pinned = false; // holds the batch open until stored
    };
    // A set that answers "perhaps" for every key added and seldom for others (a Bloom filter:
    // 2^26 bits, 8 MiB, four probes a key).
    class KeyFilter {
    public:
        KeyFilter() : m_bits(std::size_t{1} << 20) {}
        void add(const std::string& key);
        bool mayHold(const std::string& key) const;

    private:
        std::vector<std::uint64_t> m_bits;
    };
    PgDatabase& db() const;
    // The lookup of keys (of those only marks, when given): one array of folded keys a column.
    Query lookupQuery(const Keys& keys, const std::vector<bool>* only) const;
    void sendLookup(Group& g, Keys keys); // sent ahead, the batch pinned
    std::string lastRowAfter(long mark);  // the table's last row number a mark read
    // The check of the table's last row number to send with g's lookup (always with the
    // writer's first lookup, which tells whether the table is empty), noting what it compares
    // with; none when not wanted.
    std::optional<Query> checkFor(Group& g, bool wanted);
    // A check's answer: whether the writer was still alone (or, the first time, the table
    // empty); a filtered group that was not is looked up whole.
    void judgeCheck(Group& g, const std::string& lastRow);
    std::string folded(const std::vector<std::string>& key) const;
    bool lookUp(const std::vector<std::string>& key); // one record by itself
    Group* front();                                   // the group being judged, its keys known
    void storeCards(bool ahead);                      // sends the cards added so far
    void unpinAll();

    PgDatabase* m_db;
    const PgTable& m_table;
    std::vector<int> m_keyColumns;
    std::vector<std::string> m_columnNames;
    std::vector<int> m_columns;        // -1 when the table lacks it
    bool m_batchable = true;           // every key column is text
    std::string m_lookupSql;           // of many keys: their folded forms that are there
    std::string m_insertSql;           // of many cards, one array per column
    std::deque<Group> m_groups;        // handed over, not yet flushed
    std::vector<std::string> m_arrays; // the new cards not yet sent, one array literal per column
    long m_queued = 0;
    std::string m_lastRowSql;          // the table's last row number, 0 when empty
    std::unique_ptr<KeyFilter> m_seen; // while the writer fills the table alone
    bool m_checked = false;            // whether the table was empty is asked (or known)
    long m_mark = 0;                   // the last row number after the last insert, sent ahead
    bool m_markAsked = false;          // a check compares with m_mark
    long m_readMark = -1;              // the mark whose answer is in m_markValue
    std::string m_markValue;
};

} // namespace ktv::dao::pg
