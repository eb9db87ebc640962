// Checked SQLite calls shared by the engine and the database creator.
#include "data/SqliteHandles.h"

#include "data/DaoErrors.h"

namespace ktv::dao {

void raiseSqlite(int rc, sqlite3* db, const std::string& file)
{
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        raise(err::Locked);
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
        raise(err::UnrecognizedFormat, file.empty() && db ? std::string(sqlite3_db_filename(db, "main") ? sqlite3_db_filename(db, "main") : "") : file);
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
