// RAII owners of SQLite connections and statements, and the one check every SQLite call
// result goes through (a failure becomes a ktv::Error, never an ignored return code).
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

namespace ktv::dao {

struct SqliteCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* st) const noexcept { sqlite3_finalize(st); }
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Throws for anything but SQLITE_OK/ROW/DONE: busy and locked as err::Locked, a damaged
// or foreign file as err::UnrecognizedFormat (naming `file` when given), others with
// SQLite's own message.
// The check is inline: it runs on every bind and step of every record.
[[noreturn]] void raiseSqlite(int rc, sqlite3* db, const std::string& file);
// The description of err::CannotOpen for a file or folder the user may not write.
std::string permissionText(const std::string& file);
inline void checkSqlite(int rc, sqlite3* db, const std::string& file)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) [[unlikely]]
        raiseSqlite(rc, db, file);
}
inline void checkSqlite(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) [[unlikely]]
        raiseSqlite(rc, db, {});
}

// Every connection of this program is opened here. The program is single-threaded: before
// SQLite's first use its global allocation statistics, which take a mutex around every
// allocation, are switched off, and no connection gets a mutex of its own. Returns SQLite's
// result code; out holds the handle (also on failure, for its message).
int openConnection(const std::string& path, int flags, SqliteConnection& out);

Statement prepare(sqlite3* db, const std::string& sql);
// Runs a statement that returns no rows (or whose rows are not wanted).
void execute(sqlite3* db, const std::string& sql);
// Steps once; true on a row, false when done; throws otherwise.
bool stepRow(sqlite3_stmt* st);
// The first column of the first row as text ("" when there is none).
std::string queryText(sqlite3* db, const std::string& sql);
std::int64_t queryInt(sqlite3* db, const std::string& sql);

// "name" with inner quotes doubled: identifiers never reach SQL unquoted.
std::string quoteIdent(const std::string& name);

} // namespace ktv::dao
