// A snapshot: a forward walk over a statement, one row in memory at a time.
#pragma once

#include "data/SqliteDatabase.h"

namespace ktv::dao {

class SqliteSnapshot final : public SqliteRecordsetBase {
public:
    SqliteSnapshot(SqliteDatabase& db, std::shared_ptr<const TableInfo> table, std::string where,
                   std::vector<Value> params);
    ~SqliteSnapshot() override;

    long recordCount() const override;
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    bool eof() const override { return m_eof; }
    Value field(const std::string& name) const override;
    int fieldIndex(const std::string& name) const override;
    Value field(int index) const override;
    void readField(int index, Value& into) const override;
    std::vector<std::string> fieldNames() const override;
    void setField(const std::string& name, const Value& v) override;
    void addNew() override;
    void edit() override;
    void update() override;
    void close() override;
    void detach() noexcept override;

private:
    SqliteDatabase& db() const;
    std::size_t readable(int idx) const; // the column at idx of the current record, or the error
    Statement startWalk() const;
    void loadRow(sqlite3_stmt* st);

    SqliteDatabase* m_db;
    std::shared_ptr<const TableInfo> m_table; // shared with the database's catalogue
    std::string m_where;
    std::vector<Value> m_params;
    Statement m_walk;
    // The current record: the walk's row, read column by column when asked (the values
    // stay valid until the walk steps on), or, after MoveLast, the row kept in m_row.
    sqlite3_stmt* m_current = nullptr;
    mutable int m_nextColumn = 0; // where the next column name is looked for first
    std::vector<Value> m_row;
    bool m_eof = true;
    bool m_atLast = false; // positioned by MoveLast's own query, not by the walk
    long m_index = -1;
    long m_seen = 0;
    long m_count = -1; // known after MoveLast or a walk to the end
};

} // namespace ktv::dao
