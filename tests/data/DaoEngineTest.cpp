// The engine's recordset operations on real files: statements, moves, counts, add and edit.
#include "DataTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ktv;
using namespace ktv::dao;
using ktv::test::errorOf;
using ktv::test::TempDir;

namespace {

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

namespace {

struct ParsedRow {
    const char* name;
    const char* text;
    std::string table;
    std::vector<std::pair<std::string, std::string>> conditions;
};

void PrintTo(const ParsedRow& row, std::ostream* os) { *os << row.name; }

const ParsedRow kParsedStatements[] = {
    {"TableName", "Kart", "Kart", {}},
    {"SelectAll", "SELECT * FROM Kart", "Kart", {}},
    {"LowerCaseBracketsAndSemicolon", "select * from [Kart] ;", "Kart", {}},
    {"OneCondition", "SELECT * FROM Kart WHERE Kod = 'A'", "Kart", {{"Kod", "A"}}},
    {"TwoConditionsAndADoubledQuote",
     "SELECT * FROM Kart WHERE Tip = 'BAY' AND Kod = 'O''Neil'",
     "Kart",
     {{"Tip", "BAY"}, {"Kod", "O'Neil"}}},
    {"EmptyLiteral", "SELECT * FROM Kart WHERE Kod = ''", "Kart", {{"Kod", ""}}},
    {"LiteralOfOneQuote", "SELECT * FROM Kart WHERE Kod = ''''", "Kart", {{"Kod", "'"}}},
    {"KeywordsInsideTheLiteral",
     "SELECT * FROM Kart WHERE Kod='x AND y = ''z'''",
     "Kart",
     {{"Kod", "x AND y = 'z'"}}},
};

class ParsedStatementRows : public ::testing::TestWithParam<ParsedRow> {};

TEST_P(ParsedStatementRows, GiveTheTableAndConditions)
{
    const ParsedRow& c = GetParam();
    const ParsedStatement st = parseStatement(c.text);
    EXPECT_EQ(st.table, c.table) << c.text;
    ASSERT_EQ(st.conditions.size(), c.conditions.size()) << c.text;
    for (std::size_t i = 0; i < c.conditions.size(); ++i) {
        EXPECT_EQ(st.conditions[i].column, c.conditions[i].first) << c.text;
        EXPECT_EQ(st.conditions[i].literal, c.conditions[i].second) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(DaoEngine, ParsedStatementRows, ::testing::ValuesIn(kParsedStatements),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedRow {
    const char* name;
    const char* text;
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

const RefusedRow kRefusedStatements[] = {
    {"Empty", ""},
    {"ColumnList", "SELECT Kod FROM Kart"},
    {"UnterminatedLiteral", "SELECT * FROM Kart WHERE Kod = 'A"},
    {"Or", "SELECT * FROM Kart WHERE Kod = 'A' OR 1 = 1"},
    {"ThreeConditions", "SELECT * FROM Kart WHERE Kod = 'A' AND Ad = 'b' AND Tip = 'c'"},
    {"UnquotedLiteral", "SELECT * FROM Kart WHERE Kod = A"},
    {"SecondStatementAfterACondition", "SELECT * FROM Kart WHERE Kod = 'A'; DROP TABLE Kart"},
    {"Delete", "DELETE FROM Kart"},
    {"SecondStatementAfterATableName", "Kart; DROP TABLE Kart"},
    {"OrderBy", "SELECT * FROM Kart ORDER BY Kod"},
};

class RefusedStatementRows : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedStatementRows, AreSyntaxErrors)
{
    const RefusedRow& c = GetParam();
    EXPECT_EQ(errorOf([&] { parseStatement(c.text); }), err::SyntaxError) << c.text;
}

INSTANTIATE_TEST_SUITE_P(DaoEngine, RefusedStatementRows, ::testing::ValuesIn(kRefusedStatements),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DaoEngine, ConditionsMatchQuotesAndIgnoreAsciiCaseOnly)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    test::addKart(*db, "BAY", "O'NEIL", "quote");
    test::addKart(*db, "BAY", "abc", "lower");
    test::addKart(*db, "BAY", "ŞİŞE", "turkish");
    test::addKart(*db, "STK", "abc", "other type");
    auto count = [&](const std::string& tip, const std::string& kod) {
        auto rs =
            db->OpenRecordset("SELECT * FROM Kart WHERE Tip = " + Quoted(tip) + " AND Kod = " + Quoted(kod),
                              RecordsetType::Dynaset);
        if (rs->RecordCount() > 0)
            rs->MoveLast();
        return rs->RecordCount();
    };
    EXPECT_EQ(count("BAY", "O'NEIL"), 1);
    EXPECT_EQ(count("BAY", "o'neil"), 1);
    EXPECT_EQ(count("bay", "ABC"), 1);
    EXPECT_EQ(count("BAY", "ŞİŞE"), 1);
    EXPECT_EQ(count("BAY", "şişe"), 0); // letters beyond ASCII compare exactly
    EXPECT_EQ(count("BAY", "abc "), 0);
    EXPECT_EQ(count("BAY", "' OR ''='"), 0);
}

TEST(DaoEngine, OpeningUnknownTablesAndColumnsFails)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    EXPECT_EQ(errorOf([&] { db->OpenRecordset("Yok", RecordsetType::Snapshot); }), err::TableNotFound);
    EXPECT_EQ(errorOf([&] { db->OpenRecordset("ktv_meta", RecordsetType::Snapshot); }), err::TableNotFound);
    EXPECT_EQ(
        errorOf([&] { db->OpenRecordset("SELECT * FROM Kart WHERE Yok = 'a'", RecordsetType::Dynaset); }),
        err::TooFewParameters);
    EXPECT_EQ(
        errorOf([&] { db->OpenRecordset("SELECT * FROM Kart WHERE Adet = 'x'", RecordsetType::Dynaset); }),
        err::CriteriaMismatch);
    auto rs = db->OpenRecordset("kart", RecordsetType::Snapshot); // table names ignore case
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(db->TableNames(), (std::vector<std::string>{"Kinds", "Kart"}));
}

TEST(DaoEngine, DynasetAddEditAndTheirRefusals)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    auto rs = db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'K1'", RecordsetType::Dynaset);
    EXPECT_EQ(errorOf([&] { rs->Update(); }), err::UpdateWithoutAddNew);
    EXPECT_EQ(errorOf([&] { rs->SetField("Kod", "K1"); }), err::UpdateWithoutAddNew);
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), err::NoCurrentRecord);
    rs->AddNew();
    EXPECT_EQ(errorOf([&] { rs->SetField("Yok", "x"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->SetField("Tip", "LONG"); }), err::FieldTooSmall);
    rs->SetField("Tip", "BAY");
    rs->SetField("Kod", "K1");
    rs->Update();
    EXPECT_EQ(errorOf([&] { rs->Update(); }), err::UpdateWithoutAddNew);
    rs->Close();

    // The stored record is seen at once by the next lookup, with the column default.
    auto again = db->OpenRecordset("SELECT * FROM Kart WHERE Kod = 'K1'", RecordsetType::Dynaset);
    ASSERT_EQ(again->RecordCount(), 1);
    EXPECT_EQ(again->Field("Adet"), Value(std::int64_t{0}));
    EXPECT_TRUE(again->Field("Ad").isNull());
    again->Edit();
    again->SetField("Ad", "Yeni Ad");
    again->Update();
    EXPECT_EQ(again->Field("Ad").toText(), "Yeni Ad");

    auto snap = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    EXPECT_EQ(errorOf([&] { snap->AddNew(); }), err::ReadOnly);
    EXPECT_EQ(errorOf([&] { snap->Edit(); }), err::ReadOnly);
    EXPECT_EQ(snap->Field("Ad").toText(), "Yeni Ad");
}

TEST(DaoEngine, ClosedObjectsFailInsteadOfCrashing)
{
    TempDir dir;
    auto db = test::makeDatabase(dir.file("a.mdb"));
    test::addKart(*db, "BAY", "K1");
    auto rs = db->OpenRecordset("Kart", RecordsetType::Snapshot);
    db->Close();
    db->Close(); // idempotent
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), err::ObjectClosed);
    EXPECT_EQ(errorOf([&] { db->OpenRecordset("Kart", RecordsetType::Snapshot); }), err::ObjectClosed);
    rs->Close();
    EXPECT_EQ(errorOf([&] { rs->Eof(); }), err::ObjectClosed);
    // A closed database can be opened again.
    auto reopened = Database::OpenDatabase(dir.file("a.mdb"));
    EXPECT_EQ(reopened->OpenRecordset("Kart", RecordsetType::Dynaset)->RecordCount(), 1);
}

} // namespace
