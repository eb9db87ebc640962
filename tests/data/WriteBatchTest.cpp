// The write batch's policy on a recording transaction port: when it begins, commits and
// gives up, whatever backend is behind it.
#include "data/WriteBatch.h"
#include "data/DaoErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace ktv;
using namespace ktv::dao;

namespace {

struct RecordingPort final : TransactionPort {
    std::string log;      // b(egin), c(ommit), r(ollback), f(ailed commit)
    int failCommits = 0;  // the next commits that fail
    bool keptOpen = true; // after a failed commit: the backend kept the transaction
    void beginTransaction() override { log += 'b'; }
    void commitTransaction() override
    {
        if (failCommits > 0) {
            --failCommits;
            log += 'f';
            dao::raise(err::Locked);
        }
        log += 'c';
    }
    void rollbackTransaction() noexcept override { log += 'r'; }
    bool transactionOpen() const override { return keptOpen; }
    // A server's port: sends the COMMIT of a batch whose time is up (a), waits for it later (w).
    bool ahead = false;
    bool failAwait = false;
    bool commitTransactionAhead() override
    {
        if (ahead)
            log += 'a';
        return ahead;
    }
    void awaitCommits() override
    {
        log += 'w';
        if (failAwait)
            dao::raise(err::Locked);
    }
};

class WriteBatchTest : public ::testing::Test {
public:
    void SetUp() override
    {
        setEngineClock([this] { return now; });
    }
    void TearDown() override { setEngineClock({}); }
    void later(int ms) { now += std::chrono::milliseconds(ms); }

    EngineTime now{};
    RecordingPort port;
    WriteBatch batch{port, "/data/KTFIM.mdb"};
};

} // namespace

TEST_F(WriteBatchTest, CommitsWhenDueAndNeverWhilePinned)
{
    // Each step, then what the port has seen so far.
    struct Step {
        const char* what;
        std::function<void(WriteBatchTest&)> act;
        const char* log;
    };
    const Step steps[] = {
        {"first record opens the batch", [](WriteBatchTest& t) { t.batch.begin(); }, "b"},
        {"second record joins it", [](WriteBatchTest& t) { t.batch.begin(); }, "b"},
        {"not yet due",
         [](WriteBatchTest& t) {
             t.later(49);
             t.batch.commitIfDue();
         },
         "b"},
        {"pinned past the deadline",
         [](WriteBatchTest& t) {
             t.batch.pin();
             t.later(100);
             t.batch.commitIfDue();
         },
         "b"},
        {"a record while pinned stays in the batch", [](WriteBatchTest& t) { t.batch.begin(); }, "b"},
        {"unpinned: due at once",
         [](WriteBatchTest& t) {
             t.batch.unpin();
             t.batch.commitIfDue();
         },
         "bc"},
        {"nothing open: nothing to commit", [](WriteBatchTest& t) { t.batch.commitIfDue(); }, "bc"},
        {"a record after the deadline commits the old batch first",
         [](WriteBatchTest& t) {
             t.batch.begin();
             t.later(50);
             t.batch.begin();
         },
         "bcbcb"},
        {"an unpin too many does not unpin the next lookup",
         [](WriteBatchTest& t) {
             t.batch.unpin();
             t.batch.pin();
             t.later(60);
             t.batch.commitIfDue();
         },
         "bcbcb"},
        {"finish commits whatever is pinned", [](WriteBatchTest& t) { EXPECT_FALSE(t.batch.finish()); },
         "bcbcbc"},
    };
    for (const auto& step : steps) {
        step.act(*this);
        EXPECT_EQ(port.log, step.log) << step.what;
    }
    EXPECT_FALSE(batch.isOpen());
}

TEST_F(WriteBatchTest, FailedSaveKeepsOrLosesTheBatchAndSaysHowMuch)
{
    const std::string lostTwo =
        describe(err::Locked) + " The last 2 records were not stored in '/data/KTFIM.mdb'.";
    struct Case {
        const char* what;
        bool keptOpen;
        int failures;
        bool atClose;
        std::string error; // what the save throws or finish returns
        bool openAfter;
        const char* log;
    };
    const Case cases[] = {
        {"commit kept open: retried later", true, 1, false, describe(err::Locked), true, "bf"},
        {"commit rolled back by the backend", false, 1, false, lostTwo, false, "bf"},
        {"close: a second try saves it", true, 1, true, "", false, "bfc"},
        {"close: three failures roll back", true, 3, true, lostTwo, false, "bfffr"},
        {"close: rolled back by the backend", false, 1, true, lostTwo, false, "bf"},
    };
    for (const auto& c : cases) {
        RecordingPort p;
        p.keptOpen = c.keptOpen;
        WriteBatch b(p, "/data/KTFIM.mdb");
        b.begin();
        b.noteStored();
        b.noteStored();
        p.failCommits = c.failures;
        std::string error;
        if (c.atClose) {
            if (const auto failure = b.finish())
                error = failure->description();
        } else {
            try {
                b.commit();
            } catch (const Error& e) {
                error = e.description();
                EXPECT_EQ(e.number(), err::Locked) << c.what;
            }
        }
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(b.isOpen(), c.openAfter) << c.what;
        EXPECT_EQ(p.log, c.log) << c.what;
    }
}

TEST_F(WriteBatchTest, CommitSentAheadIsAwaitedOnCloseAndCountedWhenLost)
{
    for (const bool fails : {false, true}) {
        RecordingPort p;
        p.ahead = true;
        p.failAwait = fails;
        WriteBatch b(p, "/data/KTFIM.mdb");
        b.begin();
        b.noteStored();
        later(60);
        b.commitIfDue(); // sent, not awaited: the next record opens a new batch
        b.begin();
        b.noteStored();
        b.commit(); // waits, and its answer comes after the one sent ahead
        EXPECT_EQ(p.log, "babc");
        b.begin();
        b.noteStored();
        b.noteStored();
        later(60);
        b.commitIfDue();
        const auto failure = b.finish();
        EXPECT_EQ(p.log, "babcbaw");
        EXPECT_EQ(failure ? failure->description() : "",
                  fails ? describe(err::Locked) + " The last 2 records were not stored in '/data/KTFIM.mdb'."
                        : "");
        // A failure the backend read loses what is in flight and what is open.
        b.begin();
        b.noteStored();
        later(60);
        b.commitIfDue();
        b.begin();
        b.noteStored();
        EXPECT_EQ(b.abandon(Error(err::Locked, "gone")).description(),
                  "gone The last 2 records were not stored in '/data/KTFIM.mdb'.");
        EXPECT_FALSE(b.isOpen());
        EXPECT_EQ(b.abandon(Error(err::Locked, "gone")).description(), "gone");
    }
}
