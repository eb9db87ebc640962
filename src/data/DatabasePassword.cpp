// Setting or removing a database's password: the hash is kept in the metadata table, written
// in one transaction that also marks the file as this program's.
#include "data/DatabasePassword.h"

#include "data/ColumnType.h"
#include "data/DaoErrors.h"
#include "data/Database.h"
#include "data/PasswordHash.h"
#include "data/SqliteBusyWait.h"
#include "data/SqliteCatalogue.h"
#include "data/SqliteHandles.h"
#include "data/SqliteTransaction.h"
#include "platform/core/Error.h"

#include <sqlite3.h>

#include <filesystem>

namespace ktv::dao {

void SetDatabasePassword(const std::string& path, const std::string& password)
{
    // The password is given later in a connect string (";pwd=..."): one that would not come
    // back whole from there (a ';' splits it) would lock the file for good.
    if (passwordOfConnect(";pwd=" + password) != password)
        raiseText(err::NotValidPassword, "Not a valid password: a database password cannot hold ';'.");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        raise(err::FileNotFound, path);
    SqliteConnection db;
    if (openConnection(path, SQLITE_OPEN_READWRITE, db) != SQLITE_OK)
        raise(err::UnrecognizedFormat, path);
    BusyWait busy([&path] { return path; });
    busy.install(db.get());
    const std::string meta = kMetaTable;
    try {
        SqliteTransaction writing(db.get(), SqliteTransaction::Kind::Immediate);
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
        writing.commit();
    } catch (const Error& e) {
        // Anything SQLite refuses here means the file is not a database we can protect.
        if (e.number() == err::UnrecognizedFormat)
            throw;
        raiseText(err::UnrecognizedFormat,
                  "Unrecognized database format '" + path + "' (" + e.description() + ").");
    }
}

} // namespace ktv::dao
