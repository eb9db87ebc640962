#include "data/DatabasePassword.h"

#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/Database.h"
#include "data/PasswordHash.h"
#include "data/SqliteDatabase.h"
#include "data/SqliteHandles.h"
#include "platform/core/Error.h"

#include <sqlite3.h>

#include <filesystem>

namespace ktv::dao {

void SetDatabasePassword(const std::string& path, const std::string& password)
{
    // The password is given later in a connect string (";pwd=..."): one that would not come
    // back whole from there (a ';' splits it) would lock the file for good.
    if (passwordOfConnect(";pwd=" + password) != password)
        throw Error(err::NotValidPassword, "Not a valid password: a database password cannot hold ';'.");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw Error(err::FileNotFound, "Could not find file '" + path + "'.");
    SqliteConnection db;
    const int rc = openConnection(path, SQLITE_OPEN_READWRITE, db);
    if (rc != SQLITE_OK)
        throw Error(err::UnrecognizedFormat, "Unrecognized database format '" + path + "'.");
    sqlite3_busy_timeout(db.get(), 10000);
    const std::string meta = kMetaTable;
    try {
        execute(db.get(), "BEGIN IMMEDIATE");
        execute(db.get(),
                "CREATE TABLE IF NOT EXISTS " + meta + " (key TEXT PRIMARY KEY, value TEXT NOT NULL)");
        Statement mark =
            prepare(db.get(), "INSERT OR IGNORE INTO " + meta + " (key, value) VALUES ('format', ?1)");
        bindValue(mark.get(), 1, Value(kFormatMark));
        stepRow(mark.get());
        if (password.empty()) {
            execute(db.get(), "DELETE FROM " + meta + " WHERE key = 'password'");
        } else {
            Statement put =
                prepare(db.get(), "INSERT OR REPLACE INTO " + meta + " (key, value) VALUES ('password', ?1)");
            bindValue(put.get(), 1, Value(hashPassword(password)));
            stepRow(put.get());
        }
        execute(db.get(), "COMMIT");
    } catch (const Error& e) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        // Anything SQLite refuses here means the file is not a database we can protect.
        if (e.number() == err::UnrecognizedFormat)
            throw;
        throw Error(err::UnrecognizedFormat,
                    "Unrecognized database format '" + path + "' (" + e.description() + ").");
    }
}

} // namespace ktv::dao
