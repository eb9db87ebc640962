#include "data/DatabasePassword.h"

#include "data/DaoErrors.h"
#include "data/PasswordHash.h"
#include "data/SqliteDatabase.h"
#include "platform/core/Error.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>

namespace ktv::dao {

namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

void exec(sqlite3* db, const std::string& sql, const std::string& path)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "unknown failure";
        sqlite3_free(err);
        throw Error(err::UnrecognizedFormat, "Unrecognized database format '" + path + "' (" + msg + ").");
    }
}

std::string literal(const std::string& s)
{
    std::string out = "'";
    for (const char c : s)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

} // namespace

void SetDatabasePassword(const std::string& path, const std::string& password)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw Error(err::FileNotFound, "Could not find file '" + path + "'.");
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, Closer> db(raw);
    if (rc != SQLITE_OK)
        throw Error(err::UnrecognizedFormat, "Unrecognized database format '" + path + "'.");
    sqlite3_busy_timeout(db.get(), 10000);
    exec(db.get(), "BEGIN IMMEDIATE", path);
    try {
        const std::string meta = kMetaTable;
        exec(db.get(), "CREATE TABLE IF NOT EXISTS " + meta + " (key TEXT PRIMARY KEY, value TEXT NOT NULL)", path);
        exec(db.get(), "INSERT OR IGNORE INTO " + meta + " (key, value) VALUES ('format', " + literal(kFormatMark) + ")",
             path);
        if (password.empty())
            exec(db.get(), "DELETE FROM " + meta + " WHERE key = 'password'", path);
        else
            exec(db.get(), "INSERT OR REPLACE INTO " + meta + " (key, value) VALUES ('password', " +
                               literal(hashPassword(password)) + ")",
                 path);
        exec(db.get(), "COMMIT", path);
    } catch (...) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace ktv::dao
