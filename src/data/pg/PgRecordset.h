// A snapshot or a dynaset on a server table: the matching records, walked through a cursor
// page by page in the order they were stored. A dynaset is read inside the write batch (its
// lookup and the AddNew or Edit that follows are one transaction) and stores its Update there.
#pragma once

#include "data/pg/PgDatabase.h"

#include <vector>

namespace ktv::dao::pg {

class PgRecordset final : public RecordsetBackend {
public:
    PgRecordset(PgDatabase& db, const PgTable& table, const ParsedStatement& statement, RecordsetType type);
    ~PgRecordset() override;

    long recordCount() const override;
    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    bool eof() const override;
    Value field(const std::string& name) const override;
    std::vector<std::string> fieldNames() const override;
    int fieldIndex(const std::string& name) const override;
    Value field(int index) const override;
    void setField(const std::string& name, const Value& v) override;
    void addNew() override;
    void edit() override;
    void update() override;
    void close() override;

private:
    enum class Mode { None, Adding, Editing };
    PgDatabase& db() const;
    void fetch(const std::string& how);
    void requireCurrent() const;

    PgDatabase* m_db;
    const PgTable& m_table;
    bool m_dynaset;
    bool m_pinned = false;
    bool m_reading = false; // holds a read (beginRead) until closed
    std::string m_cursor;
    std::string m_select; // the lookup, for its count
    std::vector<Param> m_params;
    Result m_page;
    int m_row = 0;
    bool m_more = false; // the cursor may hold more records after the page
    long m_count = -1;   // known after MoveLast (or a dynaset's whole read)
    Mode m_mode = Mode::None;
    std::vector<std::pair<int, Value>> m_pending;
};

} // namespace ktv::dao::pg
