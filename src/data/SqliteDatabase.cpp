// Opening and checks, journal mode and the SQLite side of the write batch of the built-in
// backend. The batch's transaction is BEGIN IMMEDIATE ... COMMIT; WriteBatch decides when
// (the first Update opens it, 50 ms later the next engine call commits it, and Close, the
// destructor and the exit hook save it), so a killed process loses at most the last ~50 ms.
#include "data/SqliteDatabase.h"

#include "data/DaoErrors.h"
#include "data/FileSystemKind.h"
#include "data/PasswordHash.h"
#include "data/SqliteCardWriter.h"
#include "data/SqliteDynaset.h"
#include "data/SqliteSnapshot.h"
#include "platform/core/ProgramExit.h"
#include "platform/core/TextCodec.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace ktv::dao {

namespace {

// Every open database of this process. Two handles on one file in one process would wait on
// each other's implicit transaction forever (one thread), so a handle about to write first
// commits what the others hold on the same file.
std::vector<SqliteDatabase*>& openDatabases()
{
    static std::vector<SqliteDatabase*> list;
    return list;
}

// The header's read and write versions say WAL (2) rather than the rollback journal (1).
bool inWalMode(const std::string& path)
{
    unsigned char versions[2] = {0, 0};
    std::ifstream in(path, std::ios::binary);
    in.seekg(18);
    in.read(reinterpret_cast<char*>(versions), 2);
    return in && (versions[0] == 2 || versions[1] == 2);
}

// False also when the name cannot exist (too long for the file system with its suffix).
bool pathExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The file as a URI that opens it immutable: no locks, no -wal or -shm.
std::string immutableUri(const std::string& path)
{
    std::string uri = "file:";
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    for (std::size_t i = 0; i < absolute.size(); ++i) {
        const char c = absolute[i];
        if (c == '%' || c == '?' || c == '#' || (c == '/' && i > 0 && absolute[i - 1] == '/')) {
            if (c == '/')
                continue; // "//" would start an authority
            static constexpr char digits[] = "0123456789abcdef";
            uri += {'%', digits[static_cast<unsigned char>(c) >> 4], digits[c & 0x0F]};
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

std::uintmax_t fileSize(const std::string& path)
{
    std::error_code ec;
    const auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : n;
}

} // namespace

SqliteDatabase::SqliteDatabase(const OpenRequest& request)
    : m_path(request.path), m_readOnly(request.readOnly), m_exclusive(request.exclusive)
{}

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const OpenRequest& request)
{
    std::unique_ptr<SqliteDatabase> db(new SqliteDatabase(request));
    db->connect(request.password);
    return db;
}

SqliteDatabase::~SqliteDatabase()
{
    try {
        close();
    } catch (...) {
        // nothing can be reported from a destructor; Close reports the same failure
    }
}

void SqliteDatabase::connect(const std::string& password)
{
    // A file opened to be read is never changed, locked for writing or given files beside it.
    // A WAL database needs its -wal and -shm files even to be read, which a read-only folder
    // (read-only media, another user's folder) does not allow and which would be left behind:
    // while no -wal file says a writer is at work, all its data is in the file itself, and
    // SQLite reads it as an immutable file without any file beside it. With a -wal present
    // it is read like any shared database, through the files already there.
    int flags = m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    std::string name = m_path;
    if (m_readOnly && inWalMode(m_path) && !pathExists(m_path + "-wal")) {
        name = immutableUri(m_path);
        flags |= SQLITE_OPEN_URI;
    }
    const int rc = openConnection(name, flags, m_db);
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_CANTOPEN || (rc & 0xff) == SQLITE_PERM)
            raise(err::CannotOpen, m_path);
        checkSqlite(rc, m_db.get(), m_path);
    }
    sqlite3_extended_result_codes(m_db.get(), 1);
    // A file the user may not write (a source on read-only media) opens read-only instead.
    if (sqlite3_db_readonly(m_db.get(), "main") == 1)
        m_readOnly = true;
    m_busy.install(m_db.get());
    if (m_exclusive)
        execute(m_db.get(), "PRAGMA locking_mode=EXCLUSIVE");
    // The checks read the file; a reader can meet another instance's switch of the journal
    // mode, which SQLite reports as locked without waiting.
    m_busy.retryWhileLocked([&] { validate(password); });
    struct stat st {};
    if (::stat(m_path.c_str(), &st) == 0)
        m_fileId = {static_cast<unsigned long>(st.st_dev), static_cast<unsigned long>(st.st_ino)};
    openDatabases().push_back(this);
    if (!m_readOnly) {
        chooseJournalMode();
        m_exitHook = addExitHook([this] { commitPending(); });
    }
}

void SqliteDatabase::validate(const std::string& password)
{
    // All checks in one read transaction: the first read also rolls back a hot journal or
    // recovers a WAL left by a killed writer, so sizes are compared on the settled file.
    SqliteTransaction reading(m_db.get());
    std::string format;
    std::string stored;
    try {
        format =
            queryText(m_db.get(), std::string("SELECT value FROM ") + kMetaTable + " WHERE key = 'format'");
        stored =
            queryText(m_db.get(), std::string("SELECT value FROM ") + kMetaTable + " WHERE key = 'password'");
    } catch (const Error& e) {
        // A failing disk or network is told as such, not as a file of the wrong kind.
        const int primary = sqlite3_errcode(m_db.get()) & 0xff;
        if (e.number() == err::Locked || e.number() == err::CannotOpen || primary == SQLITE_IOERR ||
            primary == SQLITE_NOMEM || primary == SQLITE_CANTOPEN || primary == SQLITE_FULL)
            throw;
        raise(err::UnrecognizedFormat, m_path); // not SQLite, damaged, or not this program's file
    }
    if (format != kFormatMark)
        raise(err::UnrecognizedFormat, m_path);
    // A file cut short can still pass SQLite's own checks: its size must be whole pages.
    const auto pageSize = static_cast<std::uintmax_t>(queryInt(m_db.get(), "PRAGMA page_size"));
    const auto pageCount = static_cast<std::uintmax_t>(queryInt(m_db.get(), "PRAGMA page_count"));
    const std::uintmax_t size = fileSize(m_path);
    const bool walPending =
        queryText(m_db.get(), "PRAGMA journal_mode") == "wal" && fileSize(m_path + "-wal") > 0;
    const bool sizeOk = pageSize > 0 && (walPending ? size % pageSize == 0 && size <= pageSize * pageCount
                                                    : size == pageSize * pageCount);
    if (!sizeOk)
        raise(err::UnrecognizedFormat, m_path);
    if (!stored.empty() && !verifyPassword(password, stored))
        raise(err::NotValidPassword);
    reading.commit();
}

void SqliteDatabase::chooseJournalMode()
{
    // WAL lets several writers share a local file fairly; it needs shared memory between
    // the processes, which network file systems do not give, so there the rollback journal.
    const std::filesystem::path folder = std::filesystem::absolute(m_path).parent_path();
    const bool network = isNetworkFileSystem(folder.string());
    // A file opened exclusively (a sample source being written) gains nothing from WAL, and in
    // the rollback journal it can later be read anywhere, read-only media included, by any
    // SQLite tool.
    const std::string wanted = network || m_exclusive ? "delete" : "wal";
    // Switching a file to WAL needs it to itself for a moment, and SQLite does not wait for
    // that through the busy handler: an instance opening the file at the same time as
    // another would fail at once with "locked". Retried here within the usual busy timeout.
    const std::string inForce = m_busy.retryWhileLocked(
        [&] { return text::asciiLower(queryText(m_db.get(), "PRAGMA journal_mode=" + wanted)); });
    if (inForce != wanted && network && inForce == "wal")
        raiseText(err::CannotOpen, "The database '" + m_path +
                                       "' is in WAL mode on a network file system and is in use elsewhere; "
                                       "close the other programs and try again.");
    m_wal = inForce == "wal";
    // WAL with NORMAL survives a killed process intact; the rollback journal needs FULL.
    execute(m_db.get(), m_wal ? "PRAGMA synchronous=NORMAL" : "PRAGMA synchronous=FULL");
    // In WAL mode the disk is flushed at each checkpoint, not at each commit. Checkpointing
    // every ~40 MB of log instead of every ~4 MB makes a bulk conversion flush ten times
    // less often; what a commit has made durable is the same either way, and Close still
    // checkpoints the whole log.
    if (m_wal)
        execute(m_db.get(), "PRAGMA wal_autocheckpoint=10000");
}

std::vector<std::string> SqliteDatabase::tableNames() const
{
    if (!m_db)
        raise(err::ObjectClosed);
    return m_catalogue.tableNames();
}

Statement SqliteDatabase::prepareBound(const std::string& sql, const std::vector<Value>& params) const
{
    Statement st = prepare(m_db.get(), sql);
    for (std::size_t i = 0; i < params.size(); ++i)
        bindValue(st.get(), static_cast<int>(i + 1), params[i]);
    return st;
}

CachedStatement SqliteDatabase::prepareCached(const std::string& sql, const std::vector<Value>& params)
{
    return prepareCached(m_statements.slot(sql), sql, params);
}

CachedStatement SqliteDatabase::prepareCached(StatementCache::Slot slot, const std::string& sql,
                                              const std::vector<Value>& params)
{
    CachedStatement st = m_statements.take(m_db.get(), slot, sql);
    for (std::size_t i = 0; i < params.size(); ++i)
        bindValue(st.get(), static_cast<int>(i + 1), params[i], true);
    return st;
}

std::unique_ptr<RecordsetBackend> SqliteDatabase::openRecordset(const ParsedStatement& statement,
                                                                RecordsetType type)
{
    if (!m_db)
        raise(err::ObjectClosed);
    m_batch.commitIfDue();
    const std::shared_ptr<const TableInfo> shared = m_catalogue.table(statement.table);
    const TableInfo& t = *shared;
    // A dynaset is a lookup that may be followed by AddNew or Edit: it reads inside the write
    // transaction, so another process cannot add the same key between the lookup and the add.
    if (type == RecordsetType::Dynaset && t.withoutRowid)
        raiseText(err::ReadOnly,
                  "Cannot update. The table '" + t.name +
                      "' is declared WITHOUT ROWID; it can be read, but not opened as a dynaset.");
    if (type == RecordsetType::Dynaset && !m_readOnly)
        beginWrite();
    const LookupPlan& plan = m_catalogue.lookupPlan(t, statement);
    std::vector<Value> params;
    params.reserve(plan.columns.size());
    for (std::size_t i = 0; i < plan.columns.size(); ++i)
        params.push_back(plan.conditionValue(i, statement.conditions[i].literal));
    std::unique_ptr<SqliteRecordsetBase> rs;
    if (type == RecordsetType::Snapshot)
        rs = std::make_unique<SqliteSnapshot>(*this, shared, plan.where, std::move(params));
    else
        rs = std::make_unique<SqliteDynaset>(*this, shared, plan, std::move(params));
    m_dependents.push_back(rs.get());
    return rs;
}

std::unique_ptr<CardWriterBackend> SqliteDatabase::openCardWriter(const CardLayout& layout)
{
    if (!m_db)
        raise(err::ObjectClosed);
    auto writer = std::make_unique<SqliteCardWriter>(*this, layout);
    m_dependents.push_back(writer.get());
    return writer;
}

void SqliteDatabase::forget(SqliteDependent* rs)
{
    const auto it = std::find(m_dependents.begin(), m_dependents.end(), rs);
    if (it == m_dependents.end())
        return;
    *it = m_dependents.back();
    m_dependents.pop_back();
}

void SqliteDatabase::beginWrite()
{
    if (!m_db)
        raise(err::ObjectClosed);
    if (m_readOnly)
        raise(err::ReadOnly);
    m_batch.begin();
}

void SqliteDatabase::commitPending()
{
    if (m_db)
        m_batch.commit();
}

void SqliteDatabase::beginTransaction()
{
    for (SqliteDatabase* other : openDatabases())
        if (other != this && other->m_fileId == m_fileId)
            other->commitPending();
    m_batchTransaction.emplace(m_db.get(), SqliteTransaction::Kind::Immediate);
}

void SqliteDatabase::commitTransaction()
{
    m_batchTransaction->commit();
    m_batchTransaction.reset();
    // Neither WAL nor the rollback journal queues writers: without a pause this writer would
    // take the lock back for its next batch before a waiting one (polling every 0.2 ms)
    // sees it free, and with three or four instances one could wait for ever.
    std::this_thread::sleep_for(std::chrono::milliseconds(m_wal ? 1 : 2));
}

void SqliteDatabase::rollbackTransaction() noexcept { m_batchTransaction.reset(); }

bool SqliteDatabase::transactionOpen() const { return sqlite3_get_autocommit(m_db.get()) == 0; }

void SqliteDatabase::close()
{
    if (!m_db)
        return;
    const auto open = m_dependents;
    for (auto* rs : open)
        rs->detach();
    m_dependents.clear();
    m_catalogue.clear();
    m_statements.clear();
    // The last save: when it fails the batch is lost, and the error says how much of it.
    const std::optional<Error> failure = m_batch.finish();
    auto& list = openDatabases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (m_exitHook)
        removeExitHook(m_exitHook);
    m_exitHook = 0;
    m_batchTransaction.reset(); // one SQLite rolled back itself is only forgotten
    m_db.reset();
    if (failure)
        throw *failure;
}

} // namespace ktv::dao
