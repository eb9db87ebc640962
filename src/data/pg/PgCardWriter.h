// The server's add-if-new writer. It never spends a round trip per record: the table loop
// hands it the keys of up to PgDatabase::kGroup records at once (prefetch: one statement looks
// them all up), then asks record by record in source order, answered from what the lookup
// found and what this group added already (a key met twice is added once); flush() hands the
// group's new cards to the database as one statement. Both are sent ahead and parsed and
// planned once per connection: the server stores a group and looks the next one up while the
// program reads and judges. A group whose lookup went out before the group in front of it was
// stored learns that group's keys when it is stored. The lookup and the insert of a group are
// in one transaction under the schema's lock, so no other writer adds the same key in between.
#pragma once

#include "data/pg/PgDatabase.h"

#include <deque>
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
    // A group handed over by prefetch, judged and flushed first in, first out.
    struct Group {
        std::unordered_set<std::string> known; // folded keys there or added by this group
        std::vector<std::string> added;        // of them, those this group added
        std::unordered_set<std::string> ahead; // added by groups stored after its lookup went
        bool holds(const std::string& k) const { return known.count(k) > 0 || ahead.count(k) > 0; }
        bool byRecord = false;    // keys not all text: each record looked up alone
        long ticket = 0;          // the lookup's answer, still to be read
        std::vector<Param> later; // the lookup, sent when the group is judged
        bool pinned = false;      // holds the batch open until stored
    };
    PgDatabase& db() const;
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
};

} // namespace ktv::dao::pg
