// The server's card writer as the table loop drives it: the next group handed over before the
// one in front is judged, another writer adding a card between two batches, and a failure read
// after the batch's COMMIT was sent. Runs with the
// pg_server fixture (KTV_PG_STATE: its state folder), through ctest's data_server.
#include "data/Database.h"
#include "data/EngineClock.h"
#include "data/pg/PgConnection.h"
#include "data/pg/PgSchema.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace ktv;
using namespace ktv::dao;

namespace {

const char* const kSchema = "TABLE Kart\n  Kod TEXT(10)\n  Ad TEXT(50)\n  INDEX Kod\n";
const CardLayout kKart{"Kart", {"Kod"}, {"Kod", "Ad"}};

using Keys = std::vector<std::vector<std::string>>;

Keys keys(int from, int count)
{
    Keys out;
    for (int i = from; i < from + count; ++i) {
        char code[16];
        std::snprintf(code, sizeof code, "K%05d", i);
        out.push_back({code});
    }
    return out;
}

class ServerCardWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* state = std::getenv("KTV_PG_STATE");
        ASSERT_TRUE(state && *state) << "no test server: run through ctest's data_server";
        setenv("PGPASSFILE", (std::string(state) + "/pgpass").c_str(), 1);
        std::string admin = test::readFile(std::string(state) + "/conninfo");
        while (!admin.empty() && admin.back() == '\n')
            admin.pop_back();
        pg::PgConnection c(admin);
        c.exec("DROP DATABASE IF EXISTS ktv_writer");
        c.exec("CREATE DATABASE ktv_writer");
        server = admin + " dbname=ktv_writer"; // the later key wins
        setEngineClock([this] { return now; });
    }
    void TearDown() override { setEngineClock({}); }

    // Adds what is new of a group, as the second pass of the table loop does; how many.
    int judge(CardWriter& w, const Keys& group)
    {
        int added = 0;
        for (const auto& key : group) {
            std::vector<Value> values{Value(key[0]), Value("kart " + key[0])};
            added += w.AddIfNew(
                key, [&]() -> std::vector<Value>& { return values; }, [] { return "test"; });
        }
        w.Flush();
        return added;
    }

    // How many cards the table holds.
    static long cards(Database& db)
    {
        auto all = db.OpenRecordset("Kart", RecordsetType::Snapshot);
        all->MoveLast();
        const long n = all->RecordCount();
        all->Close();
        return n;
    }

    std::string server;
    EngineTime now = std::chrono::steady_clock::now();
};

TEST_F(ServerCardWriterTest, GroupsLookedUpAheadAndAnotherWriterBetweenBatches)
{
    auto db = Database::OpenServer(server, "kart", kSchema, true, false);
    auto w = db->OpenCardWriter(kKart);

    // The second group is looked up before the first is stored: its key that the first adds
    // (in other letters) is found all the same, not added twice.
    Keys first = keys(0, 1000);
    Keys second = keys(1000, 999);
    second.push_back({"k00005"});
    w->Prefetch(first);
    w->Prefetch(second);
    EXPECT_EQ(judge(*w, first), 1000);
    EXPECT_EQ(judge(*w, second), 999);

    // The batch comes due and is saved at the next engine call; then another writer, taking
    // the schema's lock as the program does, adds a card whose key a later group holds.
    now += std::chrono::milliseconds(60);
    db->OpenRecordset("Kart", RecordsetType::Snapshot)->Close();
    {
        pg::PgConnection other(server);
        other.pipeline({{"BEGIN", {}},
                        pg::lockQuery("kart"),
                        {"INSERT INTO kart.\"Kart\" (\"Kod\", \"Ad\") VALUES ('k09999', 'Başka masa')", {}},
                        {"COMMIT", {}}});
    }
    Keys third = keys(9000, 1000); // K09999 among them
    third.push_back({"K00001"});
    w->Prefetch(third);
    EXPECT_EQ(judge(*w, third), 999);
    w->Close();

    auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'K09999'", RecordsetType::Snapshot);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Field("Ad").toText(), "Başka masa");
    rs->Close();
    EXPECT_EQ(cards(*db), 1000 + 999 + 1 + 999);
    db->Close();
}

TEST_F(ServerCardWriterTest, BatchWhoseCommitWentAheadIsLostWithTheFailureBeforeIt)
{
    auto db = Database::OpenServer(server, "kart", kSchema, true, false);
    auto w = db->OpenCardWriter(kKart);
    const Keys first = keys(0, 1000);
    w->Prefetch(first);
    // The batch comes due before the next group is handed over: that group's lookup goes
    // after the first group's cards and the batch's COMMIT, all sent ahead.
    now += std::chrono::milliseconds(60);
    w->Prefetch(keys(1000, 1000));
    int added = 0;
    for (const auto& key : first) {
        std::vector<Value> values{Value(key[0]), Value("kart")};
        added += w->AddIfNew(
            key, [&]() -> std::vector<Value>& { return values; }, [] { return "test"; });
        if (added == 1) {
            // A writer that ignores the schema's lock adds a key the lookup did not find.
            pg::PgConnection other(server);
            other.exec("INSERT INTO kart.\"Kart\" (\"Kod\", \"Ad\") VALUES ('K00500', 'Başka masa')");
        }
    }
    w->Flush();
    // The first group's insert fails on the unique index; the COMMIT behind it never ran.
    try {
        w->AddIfNew(
            {"K01000"},
            [&]() -> std::vector<Value>& {
                static std::vector<Value> v;
                return v;
            },
            [] { return "test"; });
        ADD_FAILURE() << "the failed insert went unnoticed";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), pg::err::CallFailed);
        EXPECT_NE(e.description().find("23505"), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("The last 1000 records were not stored"), std::string::npos)
            << e.description();
    }
    w->Close();

    // Nothing of the batch is there, and the same handle stores the group again.
    auto again = db->OpenCardWriter(kKart);
    again->Prefetch(first);
    EXPECT_EQ(judge(*again, first), 999);
    again->Close();
    EXPECT_EQ(cards(*db), 1000);
    db->Close();
}

} // namespace
