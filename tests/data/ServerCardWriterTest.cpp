// The server's card writer as the table loop drives it: the next group handed over before the
// one in front is judged, and another writer adding a card between two batches. Runs with the
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
    auto all = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    all->MoveLast();
    EXPECT_EQ(all->RecordCount(), 1000 + 999 + 1 + 999);
    all->Close();
    db->Close();
}

} // namespace
