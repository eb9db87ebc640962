// The built-in backend: this program's database files are SQLite databases carrying a
// metadata table (format mark, optional password hash) and columns with declared types.
#pragma once

#include "data/Backend.h"
#include "data/ColumnType.h"
#include "data/EngineClock.h"
#include "data/SqliteHandles.h"
#include "data/WriteBatch.h"
#include "platform/core/Error.h"

#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ktv::dao {

// The format mark every database of this program carries in ktv_meta.
inline constexpr const char* kFormatMark = "KTVedaz 1";
inline constexpr const char* kMetaTable = "ktv_meta";

struct TableInfo {
    std::string name; // as the file spells it
    std::vector<ColumnInfo> columns;
    std::unordered_map<std::string, int> byName;      // as the file spells them
    std::unordered_map<std::string, int> byLowerName; // filled with the columns
    std::string quotedName;                           // the table's name ready for SQL
    // A table declared WITHOUT ROWID (by another tool) has no rowid: its records are walked
    // in the order of its primary key, and it has no dynaset.
    bool withoutRowid = false;
    std::string order = " ORDER BY rowid"; // the walk's order
    std::string orderBackwards = " ORDER BY rowid DESC";
    std::vector<std::string> quotedColumns;         // the columns' names ready for SQL
    int columnIndex(const std::string& name) const; // without regard to ASCII case; -1 when unknown
    // The same, trying the column at next first and leaving next after the one found: the
    // per-record loops name their columns in table order.
    int columnIndex(const std::string& name, int& next) const;
    std::string selectList() const; // "c1","c2",... in table order
    // The INSERT of these columns (indexes), parameter ?n for the n-th.
    std::string insertSql(const std::vector<int>& columns) const;
};

// What holds statements of a database (recordsets, card writers) and is told when the
// database closes first.
class SqliteDependent {
public:
    // The database is closing: release statements; every later call fails.
    virtual void detach() noexcept = 0;

protected:
    ~SqliteDependent() = default;
};

class SqliteRecordsetBase : public RecordsetBackend, public SqliteDependent {};

class SqliteDatabase;

// How a lookup of one table by a set of columns is run: worked out once, then used for every
// record that asks the same question with other values.
struct LookupPlan {
    const TableInfo* table = nullptr;
    std::vector<std::string> asked;       // the condition columns, spelt as the statement spells them
    std::vector<int> columns;             // their indexes in the table
    std::vector<bool> compareAsText;      // per condition: the value is bound as text, case-blind
    std::string where;                    // " WHERE c = ?1 COLLATE NOCASE AND ..."
    std::string dynasetSql;               // the rowids of the matching records, in rowid order
    sqlite3_stmt** dynasetSlot = nullptr; // where the dynaset's statement waits between uses
};

// The INSERT or UPDATE of one table and set of assigned columns.
struct WritePlan {
    const TableInfo* table = nullptr;
    bool adding = false;
    std::vector<int> columns; // assigned, in column order
    std::string sql;
    sqlite3_stmt** slot = nullptr;
};

using FileStamp = std::pair<std::int64_t, std::int64_t>; // size and modification time

// A prepared statement borrowed from its database's cache for the length of one call: the
// per-record lookups and inserts of a conversion reuse the same few statements instead of
// compiling them again for every record.
class CachedStatement {
public:
    CachedStatement(SqliteDatabase* owner, sqlite3_stmt* st, sqlite3_stmt** slot)
        : m_owner(owner), m_st(st), m_slot(slot)
    {}
    CachedStatement(CachedStatement&& o) noexcept : m_owner(o.m_owner), m_st(o.m_st), m_slot(o.m_slot)
    {
        o.m_st = nullptr;
    }
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    CachedStatement& operator=(CachedStatement&&) = delete;
    ~CachedStatement();
    sqlite3_stmt* get() const { return m_st; }

private:
    SqliteDatabase* m_owner;
    sqlite3_stmt* m_st;
    sqlite3_stmt** m_slot; // where the statement waits between uses; null when not cached
};

class SqliteDatabase final : public DatabaseBackend, private TransactionPort {
public:
    static std::unique_ptr<SqliteDatabase> open(const OpenRequest& request);
    ~SqliteDatabase() override;

    std::unique_ptr<RecordsetBackend> openRecordset(const ParsedStatement& statement,
                                                    RecordsetType type) override;
    void close() override;
    bool isReadOnly() const override { return m_readOnly; }
    std::vector<std::string> tableNames() const override;
    std::unique_ptr<CardWriterBackend> openCardWriter(const CardLayout& layout) override;

    // For the recordsets and card writers of this database.
    sqlite3* handle() const { return m_db.get(); }
    Statement prepareBound(const std::string& sql, const std::vector<Value>& params) const;
    // The same, from the statement cache; the statement must not outlive the call using it,
    // and the parameters must outlive its steps (they are bound without a copy).
    CachedStatement prepareCached(const std::string& sql, const std::vector<Value>& params);
    // The same, for a statement whose cache slot was found before (null: not cached).
    CachedStatement prepareCached(sqlite3_stmt** slot, const std::string& sql,
                                  const std::vector<Value>& params);
    // The plan of a write to table of the assigned columns (sorted), made on first use.
    const WritePlan& writePlan(const TableInfo& table, bool adding,
                               const std::vector<std::pair<int, Value>>& assigned);
    void giveBack(sqlite3_stmt* st, sqlite3_stmt** slot) noexcept;
    // Before every stored Update: checks the database may be written and opens the write
    // batch when none is open.
    void beginWrite();
    // Commits the open batch now (Close, the exit hook, another handle on the same file).
    void commitPending();
    // The implicit transaction: commitIfDue on every engine call, pinned between a dynaset's
    // lookup and its Update, told of every stored record.
    WriteBatch& batch() { return m_batch; }
    void forget(SqliteDependent* rs);
    std::shared_ptr<const TableInfo> table(const std::string& name);
    const LookupPlan& lookupPlan(const TableInfo& table, const ParsedStatement& st);
    // The value condition i of plan is bound as: a text condition's literal as it stands,
    // any other converted to the column's type (err::CriteriaMismatch when it cannot be).
    static Value conditionValue(const LookupPlan& plan, std::size_t i, const std::string& literal);
    bool walMode() const { return m_wal; }

private:
    explicit SqliteDatabase(const OpenRequest& request);
    void connect(const std::string& password);
    void validate(const std::string& password);
    void chooseJournalMode();
    sqlite3_stmt** cacheSlot(const std::string& sql); // null when the cache is full
    static int busyHandler(void* self, int count);
    // The write batch's transaction: BEGIN IMMEDIATE ... COMMIT on this connection.
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() noexcept override;
    bool transactionOpen() const override;

    std::string m_path;
    std::unordered_map<std::string, sqlite3_stmt*> m_idleStatements;
    // Plans by table and columns: a conversion uses one or two per table, so a list is searched.
    std::vector<std::unique_ptr<LookupPlan>> m_lookupPlans;
    std::vector<std::unique_ptr<WritePlan>> m_writePlans;
    std::pair<unsigned long, unsigned long> m_fileId{}; // device and inode
    bool m_readOnly = false;
    bool m_exclusive = false;
    bool m_wal = false;
    WriteBatch m_batch{*this, m_path};
    std::chrono::steady_clock::time_point m_busySince{};
    FileStamp m_lastStamp{}; // of the file another writer changes, at the last busy poll
    int m_exitHook = 0;
    SqliteConnection m_db;
    std::map<std::string, std::shared_ptr<const TableInfo>> m_tables; // by lower-case name
    // The table asked for last, by the name as asked: a conversion asks for one table per
    // record, always spelt the same way.
    std::string m_lastTableName;
    std::shared_ptr<const TableInfo> m_lastTable;
    std::vector<SqliteDependent*> m_dependents; // the open ones; a few at a time
};

} // namespace ktv::dao
