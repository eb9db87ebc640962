// A dynaset: the keys (rowids) of the matching records, with the current record read on
// demand, AddNew/Edit buffers and Update storing them through the implicit transaction.
#pragma once

#include "data/SqliteDatabase.h"

#include <utility>
#include <vector>

namespace ktv::dao {

class SqliteDynaset final : public SqliteRecordsetBase {
public:
    SqliteDynaset(SqliteDatabase& db, std::shared_ptr<const TableInfo> table, const LookupPlan& plan,
                  std::vector<Value> params);
    ~SqliteDynaset() override;

    long recordCount() const override;
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    bool eof() const override { return m_eof; }
    Value field(const std::string& name) const override;
    int fieldIndex(const std::string& name) const override;
    Value field(int index) const override;
    std::vector<std::string> fieldNames() const override;
    void setField(const std::string& name, const Value& v) override;
    void takeField(const std::string& name, Value&& v) override;
    void addNew() override;
    void edit() override;
    void update() override;
    void close() override;
    void detach() noexcept override;

private:
    enum class Mode { None, Adding, Editing };
    SqliteDatabase& db() const;
    void moveTo(std::size_t pos);
    void loadCurrent();
    int column(const std::string& name) const;
    void release() noexcept;                       // ends the lookup's pin on the write batch
    int assignable(const std::string& name) const; // the column, when AddNew or Edit is pending
    void assign(int idx, Value converted);

    SqliteDatabase* m_db;
    bool m_pinned = false;                    // the lookup holds the write batch open (see WriteBatch::pin)
    std::shared_ptr<const TableInfo> m_table; // shared with the database's catalogue
    std::vector<std::int64_t> m_rowids;
    std::size_t m_pos = 0;
    bool m_eof = true;
    bool m_deleted = false; // the current record was removed by someone else
    bool m_loaded = false;  // m_row holds the current record
    std::vector<Value> m_row;
    mutable int m_nextColumn = 0; // where the next column name is looked for first
    Mode m_mode = Mode::None;
    // Assigned values by column, in column order (few, so a sorted vector beats a map).
    std::vector<std::pair<int, Value>> m_pending;
    const Value* pending(int idx) const;
};

} // namespace ktv::dao
