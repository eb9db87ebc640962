// The engine's recordset operations on real files: statements, moves, counts, add and edit.
#include "DataTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::TempDir;

namespace {

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

TEST(DaoEngine, EmptyTableCountsZeroAndHasNoCurrentRecord)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    auto rs = db->OpenRecordset("SELECT * FROM Kart", RecordsetType::Snapshot);
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(errorOf([&] { rs->Field("Kod"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->Field("Nope"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->MoveLast(); }), err::NoCurrentRecord);
}

TEST(DaoEngine, SnapshotCountIsOneUntilMoveLastThenExact)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    for (int i = 0; i < 5; ++i)
        test::addKart(*db, "BAY", "K" + std::to_string(i), "Ad" + std::to_string(i));
    auto rs = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->Field("kod").toText(), "K4");
    rs->MoveFirst();
    std::vector<std::string> seen;
    for (; !rs->Eof(); rs->MoveNext())
        seen.push_back(rs->Field("Ad").toText());
    EXPECT_EQ(seen, (std::vector<std::string>{"Ad0", "Ad1", "Ad2", "Ad3", "Ad4"}));
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), err::NoCurrentRecord);
    EXPECT_EQ(rs->FieldNames(), (std::vector<std::string>{"Tip", "Kod", "Ad", "Adet"}));
}

} // namespace
