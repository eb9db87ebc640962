// Jet sources through the engine's Database/Recordset surface: the format is found from the
// file's first bytes, snapshots walk and count, and every write fails as read-only.
#include "DataTestSupport.h"
#include "data/Dao.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

namespace ktv::test {
namespace {

using dao::Database;
using dao::RecordsetType;

class JetDatabaseTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(JetDatabaseTest, FormatComesFromTheBytesNotTheExtension)
{
    const std::string ktd = dir.file("KAYNAK.KTD");
    std::filesystem::copy_file(copyJetFile(dir, "password_V2003_with-password.mdb"), ktd);
    auto db = Database::OpenDatabase(ktd, false, false, ";pwd=password");
    EXPECT_TRUE(db->IsReadOnly());
    EXPECT_EQ(db->TableNames(), std::vector<std::string>{"Table1"});
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(ktd, false, false, ";pwd=7183"); }), 3031);
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(ktd, false, false, ""); }), 3031);
}

TEST_F(JetDatabaseTest, SnapshotWalksCountsAndReadsFieldsByName)
{
    auto db =
        Database::OpenDatabase(copyJetFile(dir, "password_V2003_no-password.mdb"), false, false, ";pwd=7183");
    auto rs = db->OpenRecordset("Table1", RecordsetType::Snapshot);
    EXPECT_GE(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Field("data"), Value("One"));
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Field("Data"), Value("Three"));
    rs->MoveFirst();
    std::vector<std::string> seen;
    for (; !rs->Eof(); rs->MoveNext())
        seen.push_back(std::get<std::string>(rs->Field("Data").storage()));
    EXPECT_EQ(seen, (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(errorOf([&] { rs->Field("Data"); }), 3021);
    EXPECT_EQ(errorOf([&] {
                  rs->MoveFirst();
                  rs->Field("Nope");
              }),
              3265);
}

TEST_F(JetDatabaseTest, StatementsSelectRows)
{
    auto db = Database::OpenDatabase(copyJetFile(dir, "testV1997.mdb"));
    auto rs =
        db->OpenRecordset("SELECT * FROM Table1 WHERE A = 'ABCDEFG' AND C = '2'", RecordsetType::Snapshot);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Field("B"), Value("hijklmnop"));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    auto none = db->OpenRecordset("SELECT * FROM Table1 WHERE A = 'x'", RecordsetType::Snapshot);
    EXPECT_TRUE(none->Eof());
    EXPECT_EQ(none->RecordCount(), 0);
}

TEST_F(JetDatabaseTest, EveryWriteIsRefusedAsReadOnly)
{
    auto db = Database::OpenDatabase(copyJetFile(dir, "testV1997.mdb"));
    EXPECT_EQ(errorOf([&] { db->OpenRecordset("Table1", RecordsetType::Dynaset); }), 3027);
    EXPECT_EQ(errorOf([&] { db->OpenRecordset("AracKarti", RecordsetType::Snapshot); }), 3078);
    auto rs = db->OpenRecordset("Table1", RecordsetType::Snapshot);
    EXPECT_EQ(errorOf([&] { rs->AddNew(); }), 3027);
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), 3027);
    EXPECT_EQ(errorOf([&] { rs->SetField("A", Value("x")); }), 3027);
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3027);
}

TEST_F(JetDatabaseTest, DamagedJetFilesAreEngineErrors)
{
    const std::string path = dir.file("cut.ktd");
    const std::string whole = readFile(copyJetFile(dir, "testV1997.mdb"));
    writeFile(path, whole.substr(0, 2048 * 3));
    EXPECT_EQ(errorOf([&] {
                  auto db = Database::OpenDatabase(path);
                  auto rs = db->OpenRecordset("Table1", RecordsetType::Snapshot);
                  rs->MoveLast();
              }),
              3343);
}

} // namespace
} // namespace ktv::test
