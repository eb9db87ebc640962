// The one place this program writes BEGIN, COMMIT and ROLLBACK.
#include "data/SqliteTransaction.h"

#include "data/SqliteHandles.h"

namespace ktv::dao {

SqliteTransaction::SqliteTransaction(sqlite3* db, Kind kind) : m_db(db)
{
    execute(m_db, kind == Kind::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

SqliteTransaction::~SqliteTransaction()
{
    // Nothing to undo once SQLite has ended the transaction itself (a failed COMMIT it rolled
    // back); a failing ROLLBACK leaves the connection's close to end it.
    if (!m_committed && sqlite3_get_autocommit(m_db) == 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    execute(m_db, "COMMIT");
    m_committed = true;
}

} // namespace ktv::dao
