// The scoped transaction the engine's own BEGIN ... COMMIT blocks go through: what it leaves
// in the file on each way out of its scope, and that it never leaves a transaction open.
#include "data/SqliteTransaction.h"
#include "data/DaoErrors.h"
#include "data/SqliteHandles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ktv;
using namespace ktv::dao;

TEST(SqliteTransaction, KeepsOnlyWhatIsCommittedAndLeavesNothingOpen)
{
    using Kind = SqliteTransaction::Kind;
    struct Case {
        const char* what;
        Kind kind;
        bool commit;
        bool throwAfter;    // an error leaves the scope after the insert (and the commit)
        bool readerHolding; // another connection reads meanwhile: the COMMIT is refused
        std::int64_t rowsAfter;
        int error; // what leaves the scope
    };
    const Case cases[] = {
        {"committed", Kind::Deferred, true, false, false, 1, 0},
        {"committed, immediate", Kind::Immediate, true, false, false, 1, 0},
        {"left by a throw", Kind::Immediate, false, true, false, 0, err::EngineFailure},
        {"left without a commit", Kind::Deferred, false, false, false, 0, 0},
        {"a throw after the commit", Kind::Deferred, true, true, false, 1, err::EngineFailure},
        {"COMMIT refused (locked)", Kind::Deferred, true, false, true, 0, err::Locked},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string path = dir.file("t.db");
        SqliteConnection db;
        SqliteConnection reader;
        ASSERT_EQ(openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db), SQLITE_OK);
        execute(db.get(), "CREATE TABLE t (x)");
        ASSERT_EQ(openConnection(path, SQLITE_OPEN_READONLY, reader), SQLITE_OK);
        int error = 0;
        try {
            SqliteTransaction tx(db.get(), c.kind);
            execute(db.get(), "INSERT INTO t VALUES (1)");
            if (c.readerHolding) {
                execute(reader.get(), "BEGIN");
                queryInt(reader.get(), "SELECT count(*) FROM t");
            }
            if (c.commit)
                tx.commit();
            if (c.throwAfter)
                raiseText(err::EngineFailure, "stopped");
        } catch (const Error& e) {
            error = e.number();
        }
        reader.reset();
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(sqlite3_get_autocommit(db.get()), 1) << c.what;
        EXPECT_EQ(queryInt(db.get(), "SELECT count(*) FROM t"), c.rowsAfter) << c.what;
    }
}
