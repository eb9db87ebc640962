// Real processes on one file: a writer killed with SIGKILL mid-run, and two writers adding
// cards to the same year database at once.
#include "DataTestSupport.h"
#include "data/EngineClock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::TempDir;
using Clock = std::chrono::steady_clock;

namespace {

// The child adds cards K0, K1, ... and writes each number to the pipe after its Update.
// A record the writer has stored, and when (steady clock ticks).
struct Ack {
    int record;
    Clock::rep at;
};

[[noreturn]] void childWriter(const std::string& path, int out, const std::string& prefix, int count)
{
    int status = 0;
    try {
        auto db = Database::OpenDatabase(path);
        for (int i = 0; i < count; ++i) {
            auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Tip = 'BAY' AND Kod = " +
                                            Quoted(prefix + std::to_string(i)),
                                        RecordsetType::Dynaset);
            if (rs->RecordCount() < 1) {
                rs->AddNew();
                rs->SetField("Tip", "BAY");
                rs->SetField("Kod", prefix + std::to_string(i));
                rs->Update();
            }
            rs->Close();
            // The acknowledgement carries the writer's own time of it (the monotonic clock is
            // the same in both processes), so the parent's scheduling does not blur it.
            const Ack ack{i, Clock::now().time_since_epoch().count()};
            if (out >= 0 && ::write(out, &ack, sizeof ack) != static_cast<ssize_t>(sizeof ack))
                _exit(3);
        }
        db->Close();
    } catch (const Error& e) {
        status = e.number() == err::Locked ? 4 : 5;
    }
    _exit(status);
}

std::string integrity(const std::string& path)
{
    sqlite3* raw = nullptr;
    sqlite3_open(path.c_str(), &raw);
    std::string result;
    sqlite3_exec(
        raw, "PRAGMA integrity_check",
        [](void* r, int, char** v, char**) {
            *static_cast<std::string*>(r) += v[0] ? v[0] : "";
            return 0;
        },
        &result, nullptr);
    sqlite3_close(raw);
    return result;
}

std::set<std::string> codes(const std::string& path)
{
    auto db = Database::OpenDatabase(path);
    std::set<std::string> out;
    auto rs = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    std::size_t rows = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++rows)
        out.insert(rs->Field("Kod").toText());
    EXPECT_EQ(rows, out.size()) << "duplicate cards";
    return out;
}

TEST(CrashSafety, KilledWriterLosesOnlyTheLastFiftyMilliseconds)
{
    TempDir dir;
    const std::string path = dir.file("crash.mdb");
    {
        test::makeDatabase(path);
    }
    std::mt19937 rng(2024);
    constexpr auto kAllowed = std::chrono::milliseconds(50);
    std::set<std::string> required;
    for (int round = 0; round < 20; ++round) {
        const std::string prefix = "R" + std::to_string(round) + "-";
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            childWriter(path, fds[1], prefix, 1 << 30);
        }
        ::close(fds[1]);
        const auto runFor = std::chrono::milliseconds(60 + rng() % 140);
        std::vector<Ack> acks;
        Clock::time_point first{};
        for (;;) {
            pollfd p{fds[0], POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                break;
            Ack ack{};
            if (::read(fds[0], &ack, sizeof ack) != static_cast<ssize_t>(sizeof ack))
                break;
            const auto now = Clock::now();
            if (acks.empty())
                first = now;
            acks.push_back(ack);
            if (now - first >= runFor)
                break;
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(fds[0]);
        ASSERT_FALSE(acks.empty()) << "the writer never wrote";
        // A record is due once the writer, in its own time, went on working for more than the
        // commit delay after storing it: the lookup after that point commits the batch, and the
        // record acknowledged after that lookup proves it ran. What the kill cut short, or a
        // writer the machine did not schedule, proves nothing and is not required.
        const Clock::rep allowed = std::chrono::duration_cast<Clock::duration>(kAllowed).count();
        std::size_t due = 0;
        for (std::size_t k = 1; k < acks.size(); ++k)
            for (; due < k && acks[k - 1].at - acks[due].at > allowed; ++due)
                required.insert(prefix + std::to_string(acks[due].record));

        ASSERT_EQ(integrity(path), "ok") << "round " << round;
        const auto present = codes(path);
        for (const auto& code : required)
            ASSERT_TRUE(present.count(code))
                << code << " was acknowledged well before the kill but is missing";
    }
    EXPECT_GT(required.size(), 20u);
}

TEST(Concurrency, TwoProcessesAddCardsToTheSameDatabase)
{
    TempDir dir;
    const std::string path = dir.file("KTFIM.mdb");
    {
        test::makeDatabase(path);
    }
    // Both add the shared codes S0..S299 (checked first) and their own A/B codes.
    pid_t pids[2];
    for (int k = 0; k < 2; ++k) {
        pids[k] = ::fork();
        ASSERT_GE(pids[k], 0);
        if (pids[k] == 0) {
            int status = 0;
            try {
                auto db = Database::OpenDatabase(path);
                for (int i = 0; i < 300; ++i) {
                    for (const std::string& code :
                         {"S" + std::to_string(i), std::string(k ? "B" : "A") + std::to_string(i)}) {
                        auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Tip = 'BAY' AND Kod = " +
                                                        Quoted(code),
                                                    RecordsetType::Dynaset);
                        if (rs->RecordCount() < 1) {
                            rs->AddNew();
                            rs->SetField("Tip", "BAY");
                            rs->SetField("Kod", code);
                            rs->Update();
                        }
                    }
                }
                db->Close();
            } catch (const Error& e) {
                status = e.number() == err::Locked ? 4 : 5;
            }
            _exit(status);
        }
    }
    for (pid_t pid : pids) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "4 means a lock error";
    }
    const auto present = codes(path);
    std::size_t a = 0, b = 0, s = 0;
    for (const auto& c : present)
        (c[0] == 'A' ? a : c[0] == 'B' ? b : s) += 1;
    EXPECT_EQ(a, 300u);
    EXPECT_EQ(b, 300u);
    EXPECT_EQ(s, 300u); // each shared code once: the lookup and the add share one write transaction
}

// Instances that open one new file together (the first use of a template copy) all wait
// for each other: the switch to WAL made by the first must not fail the others with a lock.
TEST(Concurrency, InstancesOpeningANewFileTogetherAllSucceed)
{
    TempDir dir;
    for (int round = 0; round < 6; ++round) {
        const std::string path = dir.file("new" + std::to_string(round) + ".mdb");
        dao::CreateDatabase(path, test::kKindsSchema);
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> pids;
        for (int k = 0; k < 4; ++k) {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                ::close(gate[1]);
                char c;
                (void)!::read(gate[0], &c, 1); // released together
                int status = 0;
                try {
                    auto db = Database::OpenDatabase(path);
                    test::addKart(*db, "BAY", "K" + std::to_string(k));
                    db->Close();
                } catch (const Error& e) {
                    status = e.number() == err::Locked ? 4 : 5;
                }
                _exit(status);
            }
            pids.push_back(pid);
        }
        ::close(gate[0]);
        ::close(gate[1]); // end of file: every child goes
        for (pid_t pid : pids) {
            int status = -1;
            ::waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0) << "round " << round << ": 4 means a lock error";
        }
        EXPECT_EQ(codes(path).size(), 4u);
    }
}

// The lookup of a dynaset and the AddNew after it stay in one write transaction even when
// the batch's 50 ms run out in between: no other writer can add the same key meanwhile.
TEST(Concurrency, TheBatchIsNotCommittedBetweenALookupAndItsAdd)
{
    TempDir dir;
    const std::string path = dir.file("KTFIM.mdb");
    auto now = std::chrono::steady_clock::now();
    setEngineClock([&] { return now; });
    {
        auto db = test::makeDatabase(path);
        auto rs =
            db->OpenRecordset("SELECT * FROM Kart WHERE Tip = 'BAY' AND Kod = 'K1'", RecordsetType::Dynaset);
        ASSERT_EQ(rs->RecordCount(), 0);
        now += std::chrono::seconds(1);
        rs->AddNew();
        rs->SetField("Tip", "BAY");
        rs->SetField("Kod", "K1");

        // Another connection tries to write at this moment: it must find the file locked.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
        const int rc = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        EXPECT_EQ(rc & 0xff, SQLITE_BUSY) << "the lock was given up between the lookup and the add";

        rs->Update();
        rs->Close();
        // After the add the batch is committed when its time is up, as before.
        now += std::chrono::seconds(1);
        db->OpenRecordset("Kart", RecordsetType::Snapshot)->Close();
        sqlite3* reader = nullptr;
        sqlite3_open(path.c_str(), &reader);
        EXPECT_EQ(sqlite3_exec(reader, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(reader);
        db->Close();
    }
    setEngineClock({});
    EXPECT_EQ(codes(path).size(), 1u);
}

} // namespace
