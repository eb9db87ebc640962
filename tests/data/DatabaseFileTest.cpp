// Opening files: passwords, files that are not databases, and the implicit transactions
// as seen from a second engine on the same file.
#include "DataTestSupport.h"
#include "data/EngineClock.h"
#include "platform/core/ProgramExit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>

#include <unistd.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::TempDir;

namespace {

int openError(const std::string& path, const std::string& connect = "")
{
    try {
        Database::OpenDatabase(path, false, false, connect);
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

long countKart(Database& db)
{
    auto rs = db.OpenRecordset("Kart", RecordsetType::Snapshot);
    if (rs->RecordCount() == 0)
        return 0;
    rs->MoveLast();
    return rs->RecordCount();
}

TEST(DatabaseFile, PasswordIsCheckedAndNotStoredInClear)
{
    TempDir dir;
    const std::string path = dir.file("src.ktd");
    CreateDatabase(path, test::kKindsSchema, "7183");
    EXPECT_EQ(openError(path, ";pwd=7183"), 0);
    EXPECT_EQ(openError(path, ";PWD=7183"), 0);
    EXPECT_EQ(openError(path, ""), err::NotValidPassword);
    EXPECT_EQ(openError(path, ";pwd=7184"), err::NotValidPassword);
    EXPECT_EQ(openError(path, ";pwd="), err::NotValidPassword);
    EXPECT_EQ(test::readFile(path).find("7183"), std::string::npos);

    const std::string open = dir.file("open.mdb");
    CreateDatabase(open, test::kKindsSchema);
    EXPECT_EQ(openError(open, ""), 0);
    EXPECT_EQ(openError(open, ";pwd=anything"), 0);
    try {
        Database::OpenDatabase(path);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.description(), "Not a valid password.");
    }
}

// Files that are not databases, made from the bytes of a sound one where they need them.
struct NotADatabase {
    const char* name;
    std::string (*content)(const std::string& sound);
};

void PrintTo(const NotADatabase& row, std::ostream* os) { *os << row.name; }

const NotADatabase kNotDatabases[] = {
    {"Empty", [](const std::string&) { return std::string(); }},
    {"Noise",
     [](const std::string&) {
         std::mt19937 rng(7);
         std::string noise(8192, '\0');
         for (char& c : noise)
             c = static_cast<char>(rng());
         return noise;
     }},
    {"Text", [](const std::string&) { return std::string("Bu bir veritabanı değil.\n"); }},
    {"CutBytes", [](const std::string& sound) { return sound.substr(0, sound.size() - 10); }},
    {"CutPage", [](const std::string& sound) { return sound.substr(0, sound.size() - 4096); }},
    {"HeaderOnly", [](const std::string& sound) { return sound.substr(0, 100); }},
};

class NotADatabaseRows : public ::testing::TestWithParam<NotADatabase> {
protected:
    TempDir dir;
};

TEST_P(NotADatabaseRows, AreRefusedAsUnrecognized)
{
    const std::string good = dir.file("good.mdb");
    {
        auto db = test::makeDatabase(good);
        test::addKart(*db, "BAY", "K1");
    }
    const std::string bytes = test::readFile(good);
    ASSERT_GT(bytes.size(), 4096u);
    const std::string bad = dir.file("bad.mdb");
    test::writeFile(bad, GetParam().content(bytes));
    EXPECT_EQ(openError(bad), err::UnrecognizedFormat);
    EXPECT_EQ(openError(good), 0); // the original still opens
}

INSTANTIATE_TEST_SUITE_P(DatabaseFile, NotADatabaseRows, ::testing::ValuesIn(kNotDatabases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DatabaseFile, FilesThatAreNotDatabasesAreRefused)
{
    TempDir dir;
    const std::string good = dir.file("good.mdb");
    {
        auto db = test::makeDatabase(good);
        test::addKart(*db, "BAY", "K1");
    }
    // A plain SQLite database of another program lacks this program's metadata.
    const std::string foreign = dir.file("foreign.mdb");
    {
        CreateDatabase(foreign, test::kKindsSchema);
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(foreign.c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, "DROP TABLE ktv_meta", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    EXPECT_EQ(openError(foreign), err::UnrecognizedFormat);

    std::filesystem::create_directory(dir.file("folder.mdb"));
    EXPECT_EQ(openError(dir.file("folder.mdb")), err::UnrecognizedFormat);
    EXPECT_EQ(openError(dir.file("missing.mdb")), err::FileNotFound);
    try {
        Database::OpenDatabase(dir.file("missing.mdb"));
    } catch (const Error& e) {
        EXPECT_EQ(e.description(), "Could not find file '" + dir.file("missing.mdb") + "'.");
    }
    EXPECT_EQ(openError(good), 0); // the original still opens
}

TEST(DatabaseFile, CreateNeverReplacesAFile)
{
    TempDir dir;
    test::writeFile(dir.file("x.mdb"), "keep");
    try {
        CreateDatabase(dir.file("x.mdb"), test::kKindsSchema);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::DatabaseExists);
    }
    EXPECT_EQ(test::readFile(dir.file("x.mdb")), "keep");
}

class FakeClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        setEngineClock([this] { return now; });
    }
    void TearDown() override { setEngineClock({}); }
    EngineTime now = std::chrono::steady_clock::now();
};

TEST_F(FakeClock, UpdatesAreCommittedAfterFiftyMillisecondsOrOnClose)
{
    TempDir dir;
    const std::string path = dir.file("y.mdb");
    auto writer = test::makeDatabase(path);
    auto reader = Database::OpenDatabase(path);

    test::addKart(*writer, "BAY", "K1");
    EXPECT_EQ(countKart(*writer), 1); // the writer sees its own update at once
    EXPECT_EQ(countKart(*reader), 0); // not committed yet
    now += std::chrono::milliseconds(49);
    test::addKart(*writer, "BAY", "K2");
    EXPECT_EQ(countKart(*reader), 0);
    now += std::chrono::milliseconds(1);
    writer->OpenRecordset("Kart", RecordsetType::Snapshot); // any engine call after the deadline
    EXPECT_EQ(countKart(*reader), 2);

    test::addKart(*writer, "BAY", "K3");
    EXPECT_EQ(countKart(*reader), 2);
    runExitHooks(); // the failure paths of the program commit through the exit hook
    EXPECT_EQ(countKart(*reader), 3);

    test::addKart(*writer, "BAY", "K4");
    writer->Close();
    EXPECT_EQ(countKart(*reader), 4);
}

TEST(DatabaseFile, TwoEnginesWriteTheSameFileInTurn)
{
    TempDir dir;
    const std::string path = dir.file("z.mdb");
    auto a = test::makeDatabase(path);
    auto b = Database::OpenDatabase(path);
    // Each engine holds its write transaction for at most ~50 ms; the other waits for it.
    for (int i = 0; i < 200; ++i) {
        test::addKart(*a, "BAY", "A" + std::to_string(i));
        test::addKart(*b, "BAY", "B" + std::to_string(i));
    }
    a->Close();
    b->Close();
    auto check = Database::OpenDatabase(path);
    EXPECT_EQ(countKart(*check), 400);
}

TEST(DatabaseFile, ReadOnlyDatabaseRefusesUpdates)
{
    TempDir dir;
    const std::string path = dir.file("r.mdb");
    {
        test::makeDatabase(path);
    }
    auto db = Database::OpenDatabase(path, false, true);
    EXPECT_TRUE(db->IsReadOnly());
    auto rs = db->OpenRecordset("Kart", RecordsetType::Dynaset);
    try {
        rs->AddNew();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::ReadOnly);
    }
}

TEST(DatabaseFile, SnapshotWalksAMillionRowsInConstantMemory)
{
    TempDir dir;
    const std::string path = dir.file("big.mdb");
    CreateDatabase(path, "TABLE Big\n  N LONG\n  T TEXT(20)\n");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(raw,
                         "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 1000000) "
                         "INSERT INTO Big SELECT n, 'satır ' || n FROM c",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        sqlite3_close(raw);
    }
    auto db = Database::OpenDatabase(path);
    auto rs = db->OpenRecordset("Big", RecordsetType::Snapshot);
    rs->MoveLast();
    ASSERT_EQ(rs->RecordCount(), 1000000);
    EXPECT_EQ(rs->Field("N"), Value(std::int64_t{1000000}));
    rs->MoveFirst();
    const std::int64_t heapBefore = sqlite3_memory_used();
    std::int64_t sum = 0;
    std::int64_t peak = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        sum += std::get<std::int64_t>(rs->Field("N").storage());
        if ((sum & 0xffff) == 0)
            peak = std::max<std::int64_t>(peak, sqlite3_memory_used());
    }
    EXPECT_EQ(sum, 500000500000LL);
    // SQLite's own heap stays at its page cache: nothing grows with the rows walked.
    EXPECT_LT(std::max(peak, static_cast<std::int64_t>(sqlite3_memory_used())) - heapBefore, 8 * 1024 * 1024);
}

} // namespace

namespace {

TEST(DatabaseFile, AFileWithoutWritePermissionOpensReadOnly)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const std::string path = dir.file("ro.ktd");
    CreateDatabase(path, test::kKindsSchema, "7183");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    auto db = Database::OpenDatabase(path, false, false, ";pwd=7183");
    EXPECT_TRUE(db->IsReadOnly());
    EXPECT_EQ(db->OpenRecordset("Kart", RecordsetType::Snapshot)->RecordCount(), 0);
}

} // namespace
