// The per-record path of a conversion: a snapshot's current record read column by column
// while the same connection writes, column names found in and out of table order, and
// values handed over to a dynaset instead of copied, and the plans a lookup or a write of one
// table and set of columns is run by, made once and used for every record.
#include "DataTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::errorOf;
using ktv::test::TempDir;

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

// A lookup statement already split into its table and conditions, as a conversion hands it over.
ParsedStatement split(const std::string& table, const std::vector<Condition>& conditions)
{
    return ParsedStatement{table, conditions};
}

// The same lookup asked again and again with other values, in text and already split up,
// finds exactly the card of each value: a plan made for the first record must not keep
// anything of that record.
TEST(RecordPath, LookupsOfOneShapeFindEachValueWhateverCameBefore)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    const std::vector<std::string> codes = {"A1", "o'brien", "ÇİĞ", "", "a1x", "Z"};
    for (const auto& code : codes)
        test::addKart(*db, "BAY", code, "Ad " + code);
    auto found = [&](const std::unique_ptr<Recordset>& rs) {
        return rs->RecordCount() == 0 ? std::string("-") : rs->Field("Ad").toText();
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& code : codes) {
            const auto text = db->OpenRecordset(
                "SELECT * FROM Kart WHERE Tip = 'BAY' AND Kod = " + Quoted(code), RecordsetType::Dynaset);
            EXPECT_EQ(found(text), "Ad " + code) << code;
            text->Close();
            const auto parts =
                db->OpenRecordset(split("Kart", {{"Tip", "bay"}, {"Kod", code}}), RecordsetType::Snapshot);
            EXPECT_EQ(found(parts), "Ad " + code) << code;
        }
        // Letter case of the column names, a value no card has, and ASCII case of a value.
        EXPECT_EQ(
            found(db->OpenRecordset(split("Kart", {{"TIP", "BAY"}, {"kod", "a1"}}), RecordsetType::Dynaset)),
            "Ad A1");
        EXPECT_EQ(
            found(db->OpenRecordset(split("Kart", {{"Tip", "BAY"}, {"Kod", "yok"}}), RecordsetType::Dynaset)),
            "-");
        EXPECT_EQ(found(db->OpenRecordset(split("Kart", {{"Kod", "Z"}}), RecordsetType::Dynaset)), "Ad Z");
    }
    // A number column compares as a number; a value that is none is refused, an unknown
    // column too, and neither spoils the lookups that follow.
    test::addKart(*db, "SAY", "N", "sayılı");
    {
        auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'N'", RecordsetType::Dynaset);
        rs->Edit();
        rs->SetField("Adet", Value(std::int64_t{12}));
        rs->Update();
    }
    EXPECT_EQ(
        errorOf([&] { db->OpenRecordset("SELECT * FROM Kart WHERE Adet = 'abc'", RecordsetType::Dynaset); }),
        err::CriteriaMismatch);
    EXPECT_EQ(
        errorOf([&] { db->OpenRecordset("SELECT * FROM Kart WHERE Yok = 'x'", RecordsetType::Dynaset); }),
        err::TooFewParameters);
    EXPECT_EQ(found(db->OpenRecordset("SELECT * FROM Kart WHERE Adet = '12'", RecordsetType::Dynaset)),
              "sayılı");
    EXPECT_EQ(found(db->OpenRecordset("SELECT * FROM Kart WHERE Adet = '13'", RecordsetType::Dynaset)), "-");
    EXPECT_EQ(found(db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'A1'", RecordsetType::Dynaset)),
              "Ad A1");
}

// Writes of many different column sets, more than the statement cache keeps, and edits of
// the same columns as an addition: each stores exactly what it was given.
TEST(RecordPath, WritesOfManyColumnSetsStoreExactlyTheirValues)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    const std::vector<std::string> columns = {"Txt", "Memo", "B", "S", "L", "D", "C", "Flag"};
    const int sets = 48;
    for (int round = 0; round < 2; ++round) {
        for (int mask = 1; mask <= sets; ++mask) {
            auto rs = db->OpenRecordset("Kinds", RecordsetType::Dynaset);
            rs->AddNew();
            for (std::size_t c = 0; c < columns.size(); ++c)
                if (mask & (1 << c))
                    rs->SetField(columns[c], Value(c == 0 ? std::string("t") + std::to_string(mask % 10)
                                                          : std::to_string(mask % 2)));
            rs->Update();
        }
    }
    auto back = db->OpenRecordset("Kinds", RecordsetType::Snapshot);
    int row = 0;
    for (; !back->Eof(); back->MoveNext(), ++row) {
        const int mask = row % sets + 1;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Value v = back->Field(columns[c]);
            if (!(mask & (1 << c))) {
                EXPECT_TRUE(v.isNull()) << row << " " << columns[c];
                continue;
            }
            const std::string expected = c == 0 ? "t" + std::to_string(mask % 10) : std::to_string(mask % 2);
            EXPECT_EQ(c == 7 ? std::string(v == Value(true) ? "1" : "0") : v.toText(), expected)
                << row << " " << columns[c];
        }
    }
    EXPECT_EQ(row, 2 * sets);
    // An edit of the same columns an addition wrote is an UPDATE of that record alone.
    auto count = [&](const std::string& txt) {
        return db->OpenRecordset("SELECT * FROM Kinds WHERE Txt = '" + txt + "'", RecordsetType::Dynaset)
            ->RecordCount();
    };
    const long before = count("t3");
    ASSERT_GE(before, 2);
    auto rs = db->OpenRecordset("SELECT * FROM Kinds WHERE Txt = 't3'", RecordsetType::Dynaset);
    rs->Edit();
    rs->SetField("Txt", Value(std::string("ed")));
    rs->Update();
    rs->Close();
    EXPECT_EQ(count("ed"), 1);
    EXPECT_EQ(count("t3"), before - 1);
}

} // namespace
