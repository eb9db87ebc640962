// Checked SQLite calls shared by the engine and the database creator.
#include "data/SqliteHandles.h"

#include "data/DaoErrors.h"

#include <cerrno>

namespace ktv::dao {

namespace {

std::string fileOf(sqlite3* db, const std::string& file)
{
    if (!file.empty() || !db)
        return file;
    const char* name = sqlite3_db_filename(db, "main");
    return name ? name : "";
}

// A folder or file the user may not write, told as such: SQLite reports a read-only folder
// (where the -wal and -shm files of a WAL database cannot be made) as a read-only database
// or a file it cannot open, which reads like damage or a lock.
bool permissionDenied(int rc, sqlite3* db)
{
    const int primary = rc & 0xff;
    if (rc == SQLITE_READONLY_DIRECTORY || rc == SQLITE_READONLY_CANTINIT || rc == SQLITE_READONLY_CANTLOCK ||
        primary == SQLITE_PERM)
        return true;
    const int e = db ? sqlite3_system_errno(db) : 0;
    return (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR) &&
           (e == EACCES || e == EPERM || e == EROFS);
}

} // namespace

std::string permissionText(const std::string& file)
{
    return "Permission denied: '" + file +
           "' or the folder it is in cannot be written (read-only folder, media or file), and the "
           "database engine needs to write there.";
}

void raiseSqlite(int rc, sqlite3* db, const std::string& file)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        raise(err::Locked);
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
        raise(err::UnrecognizedFormat, fileOf(db, file));
    if (permissionDenied(rc, db))
        raiseText(err::CannotOpen, permissionText(fileOf(db, file)));
    // A full disk can also show as a shared-memory file that cannot grow (the -shm of a WAL
    // database) or as an I/O error whose cause is ENOSPC: told as the full disk it is.
    if (primary == SQLITE_FULL || rc == SQLITE_IOERR_SHMSIZE ||
        (primary == SQLITE_IOERR && db && sqlite3_system_errno(db) == ENOSPC))
        raiseText(err::EngineFailure,
                  "Database engine error: database or disk is full (" + std::to_string(SQLITE_FULL) + ")");
    if (primary == SQLITE_READONLY)
        raise(err::ReadOnly);
    if (primary == SQLITE_TOOBIG)
        raise(err::FieldTooSmall);
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    raiseText(err::EngineFailure, "Database engine error: " + msg + " (" + std::to_string(rc) + ")");
}

int openConnection(const std::string& path, int flags, SqliteConnection& out)
{
    // Must precede SQLite's initialisation (a later call would be refused), hence here, in
    // front of every open, and once.
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    out.reset(raw);
    return rc;
}

Statement prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    Statement st(raw);
    checkSqlite(rc, db);
    return st;
}

void execute(sqlite3* db, const std::string& sql)
{
    Statement st = prepare(db, sql);
    while (stepRow(st.get())) {
    }
}

bool stepRow(sqlite3_stmt* st)
{
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    checkSqlite(rc, sqlite3_db_handle(st));
    return false;
}

std::string queryText(sqlite3* db, const std::string& sql)
{
    Statement st = prepare(db, sql);
    if (!stepRow(st.get()))
        return {};
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    return p ? p : "";
}

std::int64_t queryInt(sqlite3* db, const std::string& sql)
{
    Statement st = prepare(db, sql);
    return stepRow(st.get()) ? sqlite3_column_int64(st.get(), 0) : 0;
}

std::string quoteIdent(const std::string& name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

} // namespace ktv::dao
