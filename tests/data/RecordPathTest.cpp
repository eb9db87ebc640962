// The per-record path of a conversion: a snapshot's current record read column by column
// while the same connection writes, column names found in and out of table order, and
// values handed over to a dynaset instead of copied.
#include "DataTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::TempDir;
using ktv::test::errorOf;

namespace {

TEST(RecordPath, SnapshotRecordReadsTheSameInAnyColumnOrderWhileTheConnectionWrites)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    for (int i = 0; i < 3; ++i)
        test::addKart(*db, "BAY", "K" + std::to_string(i), "Ad " + std::string(40, 'x') + std::to_string(i));
    auto rs = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    int row = 0;
    // The walk may or may not come across the cards added on the way; only the first three
    // are checked.
    for (; !rs->Eof() && row < 3; rs->MoveNext(), ++row) {
        const std::string kod = "K" + std::to_string(row);
        const std::string ad = "Ad " + std::string(40, 'x') + std::to_string(row);
        // In table order, out of it, twice, and in another letter case.
        EXPECT_EQ(rs->Field("Tip").toText(), "BAY");
        EXPECT_EQ(rs->Field("Ad").toText(), ad);
        EXPECT_EQ(rs->Field("Kod").toText(), kod);
        EXPECT_EQ(rs->Field("Kod").toText(), kod);
        EXPECT_EQ(rs->Field("AD").toText(), ad);
        // A card added through the same connection while the walk stands on this record
        // leaves the record's values as they were read.
        test::addKart(*db, "YEN", "N" + std::to_string(row), std::string(60 - 20, 'y'));
        EXPECT_EQ(rs->Field("Ad").toText(), ad);
        EXPECT_EQ(rs->Field("Tip").toText(), "BAY");
        EXPECT_EQ(errorOf([&] { rs->Field("Yok"); }), err::ItemNotFound);
    }
    EXPECT_EQ(row, 3);
    // After MoveLast the last record is read, and MoveFirst goes back to the walk.
    rs->MoveLast();
    EXPECT_EQ(rs->Field("Tip").toText(), "YEN");
    rs->MoveFirst();
    EXPECT_EQ(rs->Field("Kod").toText(), "K0");
    rs->MoveNext();
    EXPECT_EQ(rs->Field("Kod").toText(), "K1");
    rs->Close();
    EXPECT_EQ(errorOf([&] { rs->Field("Kod"); }), err::ObjectClosed);
}

TEST(RecordPath, TakenValuesAreCheckedLikeCopiedOnesAndStoredWhole)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'X'", RecordsetType::Dynaset);
    EXPECT_EQ(errorOf([&] { rs->SetField("Kod", Value(std::string("X"))); }), err::UpdateWithoutAddNew);
    rs->AddNew();
    // Too long for TEXT(10): refused, whether the value is copied or handed over.
    const Value tooLong(std::string("ABCDEFGHIJK"));
    EXPECT_EQ(errorOf([&] { rs->SetField("Kod", tooLong); }), err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->SetField("Kod", Value(std::string("ABCDEFGHIJK"))); }), err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->SetField("Adet", Value(std::string("abc"))); }), err::TypeMismatch);
    // Ten Turkish letters fit although they take more than ten bytes.
    rs->SetField("kod", Value(std::string("ÇĞİÖŞÜçğıö")));
    rs->SetField("Adet", Value(std::string("12")));
    rs->SetField("Ad", Value(std::string(50, 'a')));
    rs->SetField("Tip", Value(std::string("BAY")));
    rs->Update();
    auto back = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    EXPECT_EQ(back->Field("Kod").toText(), "ÇĞİÖŞÜçğıö");
    EXPECT_EQ(back->Field("Ad").toText(), std::string(50, 'a'));
    EXPECT_EQ(back->Field("Adet"), Value(std::int64_t{12}));
    EXPECT_EQ(back->Field("Tip").toText(), "BAY");
}

} // namespace
