// A transaction on one SQLite connection for the length of a scope: rolled back when the scope
// is left without commit() (an exception on the way), so no path out leaves it open.
#pragma once

#include <sqlite3.h>

namespace ktv::dao {

class SqliteTransaction {
public:
    enum class Kind {
        Deferred, // BEGIN: reads see one state of the file; the write lock is taken when needed
        Immediate // BEGIN IMMEDIATE: the write lock is taken at once (waiting while busy)
    };
    explicit SqliteTransaction(sqlite3* db, Kind kind = Kind::Deferred);
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    ~SqliteTransaction();

    // Throws as every checked call does; a commit that failed leaves the transaction to the
    // destructor (SQLite may keep it open, to be tried again, or have rolled it back itself).
    void commit();

private:
    sqlite3* m_db;
    bool m_committed = false;
};

} // namespace ktv::dao
