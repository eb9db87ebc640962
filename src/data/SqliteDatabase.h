// The built-in backend: this program's database files are SQLite databases carrying a
// metadata table (format mark, optional password hash) and columns with declared types.
#pragma once

#include "data/Backend.h"
#include "data/ColumnType.h"
#include "data/EngineClock.h"
#include "data/SqliteHandles.h"

#include <map>
#include <set>

namespace ktv::dao {

// The format mark every database of this program carries in ktv_meta.
inline constexpr const char* kFormatMark = "KTVedaz 1";
inline constexpr const char* kMetaTable = "ktv_meta";

struct TableInfo {
    std::string name; // as the file spells it
    std::vector<ColumnInfo> columns;
    int columnIndex(const std::string& name) const; // without regard to ASCII case; -1 when unknown
    std::string selectList() const;                  // "c1","c2",... in table order
};

class SqliteRecordsetBase : public RecordsetBackend {
public:
    // The database is closing: release statements; every later call fails.
    virtual void detach() noexcept = 0;
};

class SqliteDatabase final : public DatabaseBackend {
public:
    static std::unique_ptr<SqliteDatabase> open(const OpenRequest& request);
    ~SqliteDatabase() override;

    std::unique_ptr<RecordsetBackend> openRecordset(const ParsedStatement& statement, RecordsetType type) override;
    void close() override;
    bool isReadOnly() const override { return m_readOnly; }
    std::vector<std::string> tableNames() const override;

    // For the recordsets of this database.
    sqlite3* handle() const { return m_db.get(); }
    Statement prepareBound(const std::string& sql, const std::vector<Value>& params) const;
    void beginWrite();  // before every stored Update: opens the implicit transaction when needed
    void commitIfDue(); // every engine call: commits an implicit transaction whose time is up
    void commitPending();
    void forget(SqliteRecordsetBase* rs) { m_recordsets.erase(rs); }
    bool walMode() const { return m_wal; }

private:
    explicit SqliteDatabase(const OpenRequest& request);
    void connect(const std::string& password);
    void validate(const std::string& password);
    void chooseJournalMode();
    const TableInfo& table(const std::string& name);
    std::string whereClause(const TableInfo& table, const ParsedStatement& st, std::vector<Value>& params) const;
    static int busyHandler(void* self, int count);

    std::string m_path;
    std::pair<unsigned long, unsigned long> m_fileId{}; // device and inode
    bool m_readOnly = false;
    bool m_exclusive = false;
    bool m_wal = false;
    bool m_inBatch = false;
    EngineTime m_deadline{};
    std::chrono::steady_clock::time_point m_busySince{};
    int m_exitHook = 0;
    SqliteConnection m_db;
    std::map<std::string, TableInfo> m_tables; // by lower-case name
    std::set<SqliteRecordsetBase*> m_recordsets;
};

bool equalsNoCase(const std::string& a, const std::string& b);

} // namespace ktv::dao
