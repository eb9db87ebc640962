// The built-in backend's add-if-new writer: the lookup and the insert of its table are
// prepared once, the key bound straight from the caller's text, the new record's values
// converted for their columns where they stand and bound without a copy.
#pragma once

#include "data/SqliteDatabase.h"

#include <vector>

namespace ktv::dao {

class SqliteCardWriter final : public CardWriterBackend, public SqliteDependent {
public:
    SqliteCardWriter(SqliteDatabase& db, const CardLayout& layout);
    ~SqliteCardWriter() override;

    bool addIfNew(const std::vector<std::string>& key, const CardValues& values,
                  const ErrorContext& context) override;
    bool holds(const std::vector<std::string>& key) override { return exists(key); }
    void close() override;
    void detach() noexcept override;

private:
    SqliteDatabase& db() const;
    bool exists(const std::vector<std::string>& key);
    void insert(std::vector<Value>& values, const ErrorContext& context);

    SqliteDatabase* m_db;
    std::shared_ptr<const TableInfo> m_table; // shared with the database's catalogue
    const LookupPlan* m_plan;                 // owned by the database, like the table
    std::vector<std::string> m_columnNames;   // as the caller spells them
    std::vector<int> m_columns;               // their indexes in the table; -1 when unknown
    Statement m_lookup;
    Statement m_insert;             // prepared with the first new record
    std::vector<Value> m_keyValues; // the non-text key conditions, converted
};

} // namespace ktv::dao
