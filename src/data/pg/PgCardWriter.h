// The server's add-if-new writer. It never spends a round trip per record: the table loop
// hands it the keys of up to PgDatabase::kGroup records at once (prefetch: one statement looks them
// all up, sent together with the begin of the write batch when one is due), then asks record
// by record in source order, answered from what the lookup found and what this group added
// already (a key met twice is added once); flush() hands the group's new cards to the database
// as one statement, which goes with the next round trip (the next group's lookup or the
// COMMIT). The lookup and the insert are in one transaction under the schema's lock, so no
// other writer adds the same key in between.
#pragma once

#include "data/pg/PgDatabase.h"

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
    PgDatabase& db() const;
    std::string folded(const std::vector<std::string>& key) const;
    bool lookUp(const std::vector<std::string>& key); // one record by itself

    PgDatabase* m_db;
    const PgTable& m_table;
    std::vector<int> m_keyColumns;
    std::vector<std::string> m_columnNames;
    std::vector<int> m_columns;              // -1 when the table lacks it
    bool m_batchable = true;                 // every key column is text
    std::string m_lookupSql;                 // of many keys: their folded forms that are there
    std::string m_insertSql;                 // of many cards, one array per column
    std::unordered_set<std::string> m_known; // folded keys there or added, of the open group
    bool m_grouped = false;                  // a prefetch's answers are in m_known
    std::vector<std::string> m_arrays;       // the group's new cards, one array literal per column
    long m_queued = 0;
    bool m_pinned = false; // the prefetch holds the batch open
};

} // namespace ktv::dao::pg
