// The built-in backend: this program's database files are SQLite databases carrying a
// metadata table (format mark, optional password hash) and columns with declared types.
// The database opens and checks the file, chooses its journal mode and owns the parts the
// recordsets work through: the write batch, the statement cache and the table catalogue.
#pragma once

#include "data/Backend.h"
#include "data/SqliteBusyWait.h"
#include "data/SqliteCatalogue.h"
#include "data/SqliteHandles.h"
#include "data/SqliteStatementCache.h"
#include "data/SqliteTransaction.h"
#include "data/WriteBatch.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace ktv::dao {

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
    CachedStatement prepareCached(StatementCache::Slot slot, const std::string& sql,
                                  const std::vector<Value>& params);
    // Before every stored Update: checks the database may be written and opens the write
    // batch when none is open.
    void beginWrite();
    // Commits the open batch now (the exit hook, another handle on the same file).
    void commitPending();
    // The implicit transaction: commitIfDue on every engine call, pinned between a dynaset's
    // lookup and its Update, told of every stored record.
    WriteBatch& batch() { return m_batch; }
    SqliteCatalogue& catalogue() { return m_catalogue; }
    void forget(SqliteDependent* rs);

private:
    explicit SqliteDatabase(const OpenRequest& request);
    void connect(const std::string& password);
    void validate(const std::string& password);
    void chooseJournalMode();
    // The write batch's transaction: BEGIN IMMEDIATE ... COMMIT on this connection.
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() noexcept override;
    bool transactionOpen() const override;

    std::string m_path;
    std::pair<unsigned long, unsigned long> m_fileId{}; // device and inode
    bool m_readOnly = false;
    bool m_exclusive = false;
    bool m_wal = false;
    int m_exitHook = 0;
    WriteBatch m_batch{*this, m_path};
    // A lock is waited for while the file (or its log, in WAL mode) shows progress.
    BusyWait m_busy{[this] { return m_wal ? m_path + "-wal" : m_path; }};
    SqliteConnection m_db;
    // Declared after the connection: statements and the batch's transaction end before it.
    StatementCache m_statements;
    SqliteCatalogue m_catalogue{m_db, m_statements};
    std::optional<SqliteTransaction> m_batchTransaction;
    std::vector<SqliteDependent*> m_dependents; // the open ones; a few at a time
};

} // namespace ktv::dao
