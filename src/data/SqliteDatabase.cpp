// Opening checks, journal mode, implicit transactions and the table catalogue of the
// built-in backend. Implicit transactions: the first Update opens BEGIN IMMEDIATE, and the
// transaction is committed once 50 ms have passed (at the next engine call), on Close, in
// the destructor and by the exit hook, so a killed process loses at most the last ~50 ms.
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

constexpr auto kBusyTimeout = std::chrono::seconds(10);

// Every open database of this process. Two handles on one file in one process would wait on
// each other's implicit transaction forever (one thread), so a handle about to write first
// commits what the others hold on the same file.
std::vector<SqliteDatabase*>& openDatabases()
{
    static std::vector<SqliteDatabase*> list;
    return list;
}

// Size and modification time: what changes when another instance commits.
FileStamp fileStamp(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
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

int TableInfo::columnIndex(const std::string& n) const
{
    // Callers nearly always spell a column as the file does; the case-blind map is the fallback.
    if (const auto exact = byName.find(n); exact != byName.end())
        return exact->second;
    const auto it = byLowerName.find(text::asciiLower(n));
    return it == byLowerName.end() ? -1 : it->second;
}

int TableInfo::columnIndex(const std::string& n, int& next) const
{
    int idx = next;
    if (idx < 0 || idx >= static_cast<int>(columns.size()) ||
        columns[static_cast<std::size_t>(idx)].name != n)
        idx = columnIndex(n);
    next = idx + 1;
    return idx;
}

std::string TableInfo::insertSql(const std::vector<int>& columns) const
{
    if (columns.empty())
        return "INSERT INTO " + quotedName + " DEFAULT VALUES";
    std::string names;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? "," : "") + quotedColumns[static_cast<std::size_t>(columns[i])];
        marks += (i ? ",?" : "?") + std::to_string(i + 1);
    }
    return "INSERT INTO " + quotedName + " (" + names + ") VALUES (" + marks + ")";
}

std::string TableInfo::selectList() const
{
    std::string out;
    for (const auto& q : quotedColumns) {
        if (!out.empty())
            out += ',';
        out += q;
    }
    return out;
}

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

int SqliteDatabase::busyHandler(void* self, int count)
{
    // Short polls instead of SQLite's growing sleeps: a waiting writer gets its turn as soon
    // as the other side commits a batch, so several writers share the file fairly. The
    // timeout counts from the last sign of progress (the log or the file changing), not
    // from the first poll: with three or four instances a writer may wait behind the others
    // for longer than the timeout, and that is no reason to fail while they are moving.
    auto* db = static_cast<SqliteDatabase*>(self);
    const auto now = std::chrono::steady_clock::now();
    const FileStamp stamp = fileStamp(db->m_wal ? db->m_path + "-wal" : db->m_path);
    if (count == 0 || stamp != db->m_lastStamp) {
        db->m_busySince = now;
        db->m_lastStamp = stamp;
    }
    if (now - db->m_busySince >= kBusyTimeout)
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    return 1;
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
    checkSqlite(sqlite3_busy_handler(m_db.get(), &SqliteDatabase::busyHandler, this), m_db.get());
    if (m_exclusive)
        execute(m_db.get(), "PRAGMA locking_mode=EXCLUSIVE");
    // The checks read the file; a reader can meet another instance's switch of the journal
    // mode, which SQLite reports as locked without waiting.
    for (const auto start = std::chrono::steady_clock::now();;) {
        try {
            validate(password);
            break;
        } catch (const Error& e) {
            if (e.number() != err::Locked || std::chrono::steady_clock::now() - start >= kBusyTimeout)
                throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
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
    execute(m_db.get(), "BEGIN");
    try {
        std::string format;
        std::string stored;
        try {
            format = queryText(m_db.get(),
                               std::string("SELECT value FROM ") + kMetaTable + " WHERE key = 'format'");
            stored = queryText(m_db.get(),
                               std::string("SELECT value FROM ") + kMetaTable + " WHERE key = 'password'");
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
        execute(m_db.get(), "COMMIT");
    } catch (...) {
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
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
    std::string inForce;
    for (const auto start = std::chrono::steady_clock::now();;) {
        try {
            inForce = text::asciiLower(queryText(m_db.get(), "PRAGMA journal_mode=" + wanted));
            break;
        } catch (const Error& e) {
            if (e.number() != err::Locked || std::chrono::steady_clock::now() - start >= kBusyTimeout)
                throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
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
    std::vector<std::string> names;
    Statement st = prepare(
        m_db.get(), std::string("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                "'sqlite\\_%' ESCAPE '\\' AND name <> '") +
                        kMetaTable + "' ORDER BY rowid");
    while (stepRow(st.get()))
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return names;
}

std::shared_ptr<const TableInfo> SqliteDatabase::table(const std::string& name)
{
    if (m_lastTable && name == m_lastTableName)
        return m_lastTable;
    const std::string key = text::asciiLower(name);
    if (auto it = m_tables.find(key); it != m_tables.end()) {
        m_lastTableName = name;
        m_lastTable = it->second;
        return it->second;
    }
    if (key == kMetaTable || key.rfind("sqlite_", 0) == 0)
        raise(err::TableNotFound, name);
    Statement st = prepare(
        m_db.get(), "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    bindValue(st.get(), 1, Value(name));
    if (!stepRow(st.get()))
        raise(err::TableNotFound, name);
    TableInfo info;
    info.name = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    Statement cols = prepare(m_db.get(), "PRAGMA table_info(" + quoteIdent(info.name) + ")");
    while (stepRow(cols.get())) {
        const auto* n = reinterpret_cast<const char*>(sqlite3_column_text(cols.get(), 1));
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(cols.get(), 2));
        info.columns.push_back(columnFromDeclared(n ? n : "", t ? t : ""));
        const int idx = static_cast<int>(info.columns.size() - 1);
        info.byName.emplace(info.columns.back().name, idx);
        info.byLowerName.emplace(text::asciiLower(info.columns.back().name), idx);
        info.quotedColumns.push_back(quoteIdent(info.columns.back().name));
    }
    info.quotedName = quoteIdent(info.name);
    Statement kind = prepare(m_db.get(), "PRAGMA table_list(" + info.quotedName + ")");
    while (stepRow(kind.get()))
        if (sqlite3_column_int(kind.get(), 4) != 0)
            info.withoutRowid = true;
    if (info.withoutRowid) {
        std::vector<std::pair<int, std::string>> key; // position in the primary key, column
        Statement cols2 = prepare(m_db.get(), "PRAGMA table_info(" + info.quotedName + ")");
        while (stepRow(cols2.get()))
            if (const int pk = sqlite3_column_int(cols2.get(), 5); pk > 0)
                key.emplace_back(
                    pk, quoteIdent(reinterpret_cast<const char*>(sqlite3_column_text(cols2.get(), 1))));
        std::sort(key.begin(), key.end());
        info.order = info.orderBackwards = " ORDER BY ";
        for (std::size_t i = 0; i < key.size(); ++i) {
            info.order += (i ? "," : "") + key[i].second;
            info.orderBackwards += (i ? "," : "") + key[i].second + " DESC";
        }
    }
    return m_tables.emplace(key, std::make_shared<const TableInfo>(std::move(info))).first->second;
}

const LookupPlan& SqliteDatabase::lookupPlan(const TableInfo& t, const ParsedStatement& st)
{
    for (const auto& plan : m_lookupPlans) {
        if (plan->table != &t || plan->asked.size() != st.conditions.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < st.conditions.size() && same; ++i)
            same = plan->asked[i] == st.conditions[i].column;
        if (same)
            return *plan;
    }
    auto plan = std::make_unique<LookupPlan>();
    plan->table = &t;
    for (const auto& c : st.conditions) {
        const int idx = t.columnIndex(c.column);
        if (idx < 0)
            raise(err::TooFewParameters);
        const ColumnInfo& col = t.columns[static_cast<std::size_t>(idx)];
        // Text conditions ignore ASCII letter case, like the lookup indexes (COLLATE NOCASE).
        const bool text = isTextKind(col.kind) || col.kind == ColumnKind::Other;
        plan->asked.push_back(c.column);
        plan->columns.push_back(idx);
        plan->compareAsText.push_back(text);
        plan->where += plan->where.empty() ? " WHERE " : " AND ";
        plan->where += t.quotedColumns[static_cast<std::size_t>(idx)];
        plan->where += " = ?" + std::to_string(plan->columns.size());
        if (text)
            plan->where += " COLLATE NOCASE";
    }
    plan->dynasetSql = "SELECT rowid FROM " + t.quotedName + plan->where + " ORDER BY rowid";
    plan->dynasetSlot = cacheSlot(plan->dynasetSql);
    m_lookupPlans.push_back(std::move(plan));
    return *m_lookupPlans.back();
}

const WritePlan& SqliteDatabase::writePlan(const TableInfo& t, bool adding,
                                           const std::vector<std::pair<int, Value>>& assigned)
{
    for (const auto& plan : m_writePlans) {
        if (plan->table != &t || plan->adding != adding || plan->columns.size() != assigned.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < assigned.size() && same; ++i)
            same = plan->columns[i] == assigned[i].first;
        if (same)
            return *plan;
    }
    auto plan = std::make_unique<WritePlan>();
    plan->table = &t;
    plan->adding = adding;
    for (const auto& entry : assigned)
        plan->columns.push_back(entry.first);
    if (adding) {
        plan->sql = t.insertSql(plan->columns);
    } else {
        std::string sets;
        for (std::size_t i = 0; i < plan->columns.size(); ++i)
            sets += (i ? "," : "") + t.quotedColumns[static_cast<std::size_t>(plan->columns[i])] + " = ?" +
                    std::to_string(i + 1);
        plan->sql = "UPDATE " + t.quotedName + " SET " + sets + " WHERE rowid = ?" +
                    std::to_string(plan->columns.size() + 1);
    }
    plan->slot = cacheSlot(plan->sql);
    m_writePlans.push_back(std::move(plan));
    return *m_writePlans.back();
}

Statement SqliteDatabase::prepareBound(const std::string& sql, const std::vector<Value>& params) const
{
    Statement st = prepare(m_db.get(), sql);
    for (std::size_t i = 0; i < params.size(); ++i)
        bindValue(st.get(), static_cast<int>(i + 1), params[i]);
    return st;
}

CachedStatement::~CachedStatement()
{
    if (m_st)
        m_owner->giveBack(m_st, m_slot);
}

sqlite3_stmt** SqliteDatabase::cacheSlot(const std::string& sql)
{
    // Each statement text has one slot (the map's nodes stay put, so a plan may keep it); a
    // slot is empty while its statement is in use (a second user of the same text at that
    // moment gets a statement of its own).
    if (auto it = m_idleStatements.find(sql); it != m_idleStatements.end())
        return &it->second;
    if (m_idleStatements.size() < 32)
        return &m_idleStatements.emplace(sql, nullptr).first->second;
    return nullptr;
}

CachedStatement SqliteDatabase::prepareCached(const std::string& sql, const std::vector<Value>& params)
{
    return prepareCached(cacheSlot(sql), sql, params);
}

CachedStatement SqliteDatabase::prepareCached(sqlite3_stmt** slot, const std::string& sql,
                                              const std::vector<Value>& params)
{
    sqlite3_stmt* raw = nullptr;
    if (slot && *slot) {
        raw = *slot;
        *slot = nullptr;
    } else {
        raw = prepare(m_db.get(), sql).release();
    }
    CachedStatement st(this, raw, slot);
    for (std::size_t i = 0; i < params.size(); ++i)
        bindValue(st.get(), static_cast<int>(i + 1), params[i], true);
    return st;
}

void SqliteDatabase::giveBack(sqlite3_stmt* st, sqlite3_stmt** slot) noexcept
{
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    if (m_db && slot && !*slot)
        *slot = st;
    else
        sqlite3_finalize(st);
}

std::unique_ptr<RecordsetBackend> SqliteDatabase::openRecordset(const ParsedStatement& statement,
                                                                RecordsetType type)
{
    if (!m_db)
        raise(err::ObjectClosed);
    m_batch.commitIfDue();
    const std::shared_ptr<const TableInfo> shared = table(statement.table);
    const TableInfo& t = *shared;
    // A dynaset is a lookup that may be followed by AddNew or Edit: it reads inside the write
    // transaction, so another process cannot add the same key between the lookup and the add.
    if (type == RecordsetType::Dynaset && t.withoutRowid)
        raiseText(err::ReadOnly,
                  "Cannot update. The table '" + t.name +
                      "' is declared WITHOUT ROWID; it can be read, but not opened as a dynaset.");
    if (type == RecordsetType::Dynaset && !m_readOnly)
        beginWrite();
    const LookupPlan& plan = lookupPlan(t, statement);
    std::vector<Value> params;
    params.reserve(plan.columns.size());
    for (std::size_t i = 0; i < plan.columns.size(); ++i)
        params.push_back(conditionValue(plan, i, statement.conditions[i].literal));
    std::unique_ptr<SqliteRecordsetBase> rs;
    if (type == RecordsetType::Snapshot)
        rs = std::make_unique<SqliteSnapshot>(*this, shared, plan.where, std::move(params));
    else
        rs = std::make_unique<SqliteDynaset>(*this, shared, plan, std::move(params));
    m_dependents.push_back(rs.get());
    return rs;
}

Value SqliteDatabase::conditionValue(const LookupPlan& plan, std::size_t i, const std::string& literal)
{
    if (plan.compareAsText[i])
        return Value(literal);
    try {
        return convertForColumn(plan.table->columns[static_cast<std::size_t>(plan.columns[i])],
                                Value(literal));
    } catch (const Error&) {
        raise(err::CriteriaMismatch);
    }
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
    execute(m_db.get(), "BEGIN IMMEDIATE");
}

void SqliteDatabase::commitTransaction()
{
    execute(m_db.get(), "COMMIT");
    // Neither WAL nor the rollback journal queues writers: without a pause this writer would
    // take the lock back for its next batch before a waiting one (polling every 0.2 ms)
    // sees it free, and with three or four instances one could wait for ever.
    std::this_thread::sleep_for(std::chrono::milliseconds(m_wal ? 1 : 2));
}

void SqliteDatabase::rollbackTransaction() noexcept
{
    sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqliteDatabase::transactionOpen() const { return sqlite3_get_autocommit(m_db.get()) == 0; }

void SqliteDatabase::close()
{
    if (!m_db)
        return;
    const auto open = m_dependents;
    for (auto* rs : open)
        rs->detach();
    m_dependents.clear();
    for (auto& [sql, st] : m_idleStatements)
        if (st)
            sqlite3_finalize(st);
    m_idleStatements.clear();
    m_lookupPlans.clear();
    m_writePlans.clear();
    // The last save: when it fails the batch is lost, and the error says how much of it.
    const std::optional<Error> failure = m_batch.finish();
    auto& list = openDatabases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (m_exitHook)
        removeExitHook(m_exitHook);
    m_exitHook = 0;
    m_db.reset();
    m_tables.clear();
    m_lastTable.reset();
    m_lastTableName.clear();
    if (failure)
        throw *failure;
}

} // namespace ktv::dao
