// Assigning values to columns: the conversions the engine makes and the values it refuses.
#include "DataTestSupport.h"
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace ktv;
using namespace ktv::dao;

namespace {

struct Conversion {
    const char* name;
    const char* column;
    Value in;
    Value out; // expected stored value, when err == 0
    int err = 0;
};

void PrintTo(const Conversion& row, std::ostream* os) { *os << row.name; }

class ColumnTypes : public ::testing::Test {
protected:
    void SetUp() override { NumberFormat::pin(NumberFormat{',', '.'}); } // Turkish: 2,5
    void TearDown() override { NumberFormat::unpin(); }
    test::TempDir dir;
};

const Conversion kConversions[] = {
    {"Text_FitsItsFiveCharacters", "Txt", Value("abcde"), Value("abcde")},
    {"Text_SixCharactersAreTooMany", "Txt", Value("abcdef"), {}, err::FieldTooSmall},
    {"Text_FiveCharactersInTenBytes", "Txt", Value("ŞĞÜİÇ"), Value("ŞĞÜİÇ")},
    {"Text_FromAnInteger", "Txt", Value(12), Value("12")},
    {"Text_FromADoubleWithTheDecimalComma", "Txt", Value(2.5), Value("2,5")},
    {"Memo_HundredThousandCharacters", "Memo", Value(std::string(100000, 'x')),
     Value(std::string(100000, 'x'))},
    {"Short_FromText", "S", Value("12"), Value(std::int64_t{12})},
    {"Short_FromTextWithSpaces", "S", Value(" 18 "), Value(std::int64_t{18})},
    {"Short_HalfToEvenDown", "S", Value("2,5"), Value(std::int64_t{2})},
    {"Short_HalfToEvenUp", "S", Value("3,5"), Value(std::int64_t{4})},
    {"Short_NegativeHalfToEven", "S", Value(-2.5), Value(std::int64_t{-2})},
    {"Short_Largest", "S", Value(32767), Value(std::int64_t{32767})},
    {"Short_OverflowAbove", "S", Value(32768), {}, err::Overflow},
    {"Short_OverflowBelow", "S", Value("-32769"), {}, err::Overflow},
    {"Short_LetterIsATypeMismatch", "S", Value("x"), {}, err::TypeMismatch},
    {"Short_EmptyTextIsATypeMismatch", "S", Value(""), {}, err::TypeMismatch},
    {"Short_TrueIsMinusOne", "S", Value(true), Value(std::int64_t{-1})},
    {"Byte_OverflowAbove", "B", Value(256), {}, err::Overflow},
    {"Byte_NegativeOverflows", "B", Value(-1), {}, err::Overflow},
    {"Long_Largest", "L", Value("2147483647"), Value(std::int64_t{2147483647})},
    {"Long_OverflowAbove", "L", Value("2147483648"), {}, err::Overflow},
    {"Long_CurrencyHalfToEvenDown", "L", Value(Currency{25000}), Value(std::int64_t{2})},
    {"Long_CurrencyHalfToEvenUp", "L", Value(Currency{35000}), Value(std::int64_t{4})},
    {"Double_GroupedText", "D", Value("1.234,5"), Value(1234.5)},
    {"Currency_WholeText", "C", Value("1500"), Value(Currency{15000000})},
    {"Currency_OneTenth", "C", Value("0,1"), Value(Currency{1000})},
    {"Currency_EveryDigitKept", "C", Value("1234567890123,4567"), Value(Currency{12345678901234567})},
    // half to even at the fourth decimal
    {"Currency_HalfToEvenAtTheFourthDecimalDown", "C", Value("0,00005"), Value(Currency{0})},
    {"Currency_HalfToEvenAtTheFourthDecimalUp", "C", Value("0,00015"), Value(Currency{2})},
    {"Currency_Negative", "C", Value("-1,5"), Value(Currency{-15000})},
    {"Currency_Overflow", "C", Value("1e20"), {}, err::Overflow},
    {"Currency_LettersAreATypeMismatch", "C", Value("abc"), {}, err::TypeMismatch},
    {"Currency_FromTheDoubleOneTenth", "C", Value(0.1), Value(Currency{1000})},
    {"Date_LeapDay", "Dt", Value("2004-02-29"), Value(Date{38046})},
    {"Date_MonthThirteenIsATypeMismatch", "Dt", Value("2004-13-01"), {}, err::TypeMismatch},
    {"Boolean_TrueText", "Flag", Value("True"), Value(true)},
    {"Boolean_Zero", "Flag", Value(0), Value(false)},
    {"Boolean_OtherTextIsATypeMismatch", "Flag", Value("belki"), {}, err::TypeMismatch},
    {"Text_Null", "Txt", Value(Null{}), Value(Null{})},
    {"Short_Null", "S", Value(Null{}), Value(Null{})},
};

class AssignmentRows : public ColumnTypes, public ::testing::WithParamInterface<Conversion> {};

TEST_P(AssignmentRows, ConvertOrRefuse)
{
    const Conversion& c = GetParam();
    auto db = test::makeDatabase(dir.file("k.mdb"));
    auto rs = db->OpenRecordset("Kinds", RecordsetType::Dynaset);
    rs->AddNew();
    try {
        rs->SetField(c.column, c.in);
        ASSERT_EQ(c.err, 0) << c.column << " <- " << c.in.toText();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), c.err) << c.column << " <- " << c.in.toText();
        return;
    }
    rs->Update();
    rs->MoveLast(); // the record just added
    EXPECT_EQ(rs->Field(c.column), c.out) << c.column << " <- " << c.in.toText();
}

INSTANTIATE_TEST_SUITE_P(ColumnTypes, AssignmentRows, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColumnTypes, CurrencyStaysExactThroughTheFile)
{
    auto db = test::makeDatabase(dir.file("k.mdb"));
    auto rs = db->OpenRecordset("Kinds", RecordsetType::Dynaset);
    for (int i = 0; i < 10; ++i) {
        rs->AddNew();
        rs->SetField("C", "0,1");
        rs->Update();
    }
    db->Close();
    auto reopened = Database::OpenDatabase(dir.file("k.mdb"));
    auto snap = reopened->OpenRecordset("Kinds", RecordsetType::Snapshot);
    std::int64_t sum = 0;
    for (; !snap->Eof(); snap->MoveNext())
        sum += std::get<Currency>(snap->Field("C").storage()).scaled;
    EXPECT_EQ(sum, 10000); // exactly 1, not 0.9999999
}

struct StoredText {
    const char* name;
    std::string in;
    std::string stored;
};

void PrintTo(const StoredText& row, std::ostream* os) { *os << row.name; }

const StoredText kStoredTexts[] = {
    {"NulCharactersAreDropped", std::string("Ay\0se", 5), "Ayse"},
    {"Windows1254BytesAreDecoded", "\xDDstanbul \xFE", "İstanbul ş"},
    {"BrokenSequenceIsReadTheSameWay", std::string("\xC3\x28", 2), "Ã("},
    {"ValidUtf8StaysAsItIs", "Gıda", "Gıda"},
};

class TextColumnRows : public ColumnTypes, public ::testing::WithParamInterface<StoredText> {};

TEST_P(TextColumnRows, ReceiveValidUtf8Only)
{
    const StoredText& c = GetParam();
    auto db = test::makeDatabase(dir.file("t.mdb"));
    {
        auto rs = db->OpenRecordset("Kinds", RecordsetType::Dynaset);
        rs->AddNew();
        rs->SetField("Memo", Value(c.in));
        rs->Update();
        rs->MoveLast();
        EXPECT_EQ(rs->Field("Memo").toText(), c.stored);
        rs->Close();
    }
    db->Close();
    // Another SQLite reader sees text it can decode.
    sqlite3* raw = nullptr;
    sqlite3_open(dir.file("t.mdb").c_str(), &raw);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw, "SELECT Memo FROM Kinds", -1, &st, nullptr);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        const std::string v(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                            sqlite3_column_bytes(st, 0));
        EXPECT_TRUE(text::isValidUtf8(v) && v.find('\0') == std::string::npos) << v;
    }
    EXPECT_EQ(rows, 1);
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

INSTANTIATE_TEST_SUITE_P(ColumnTypes, TextColumnRows, ::testing::ValuesIn(kStoredTexts),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadSchema {
    const char* name;
    const char* text;
};

void PrintTo(const BadSchema& row, std::ostream* os) { *os << row.name; }

const BadSchema kBadSchemas[] = {
    {"ColumnBeforeTable", "Kod TEXT(10)"},
    {"TextOfNoLength", "TABLE T\n  Kod TEXT(0)"},
    {"TextLongerThan255", "TABLE T\n  Kod TEXT(256)"},
    {"UnknownType", "TABLE T\n  Kod VARIANT"},
    {"SameColumnTwice", "TABLE T\n  Kod TEXT(5)\n  Kod TEXT(5)"},
    {"IndexOnAMissingColumn", "TABLE T\n  Kod TEXT(5)\n  INDEX Ad"},
    {"DefaultLongerThanTheColumn", "TABLE T\n  Kod TEXT(2) DEFAULT 'uzun'"},
    {"TableWithoutColumns", "TABLE T"},
};

class BadSchemaRows : public ::testing::TestWithParam<BadSchema> {};

TEST_P(BadSchemaRows, AreRefusedAsSyntaxErrors)
{
    const BadSchema& c = GetParam();
    try {
        parseSchema(c.text);
        ADD_FAILURE() << c.text;
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::SyntaxError) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Schema, BadSchemaRows, ::testing::ValuesIn(kBadSchemas),
                         [](const auto& info) { return std::string(info.param.name); });

// Defaults are read and written in the C form whatever the C library's numeric locale.
TEST(Schema, NumberDefaultsHoldUnderAnyCLocale)
{
    const test::NumericLocale turkish("tr_TR.UTF-8");
    test::TempDir dir;
    CreateDatabase(dir.file("t.db"), "TABLE T\n  Ad TEXT(5)\n  Oran DOUBLE DEFAULT 2.5\n");
    auto db = Database::OpenDatabase(dir.file("t.db"));
    auto rs = db->OpenRecordset("T", RecordsetType::Dynaset);
    rs->AddNew();
    rs->SetField("Ad", Value("x"));
    rs->Update();
    rs->MoveFirst();
    EXPECT_EQ(rs->Field("Oran"), Value(2.5));
}

// Type names compare in ASCII case whatever the locale: under a Turkish one the
// C library has no single-byte capital for 'i', and "integer" or "bit" must still be known.
TEST(Schema, LowerCaseNamesUnderTurkishLocale)
{
    const test::NumericLocale turkish("tr_TR.UTF-8");
    test::TempDir dir;
    CreateDatabase(dir.file("t.db"), "table T\n  Ad text(5)\n  Sayi integer\n  Var bit\n  Not memo\n");
    for (const char* type : {"integer", "bit", "varchar(5)", "datetime", "yesno"})
        EXPECT_NE(columnFromDeclared("C", type).kind, ColumnKind::Other) << type;
    auto db = Database::OpenDatabase(dir.file("t.db"));
    auto rs = db->OpenRecordset("T", RecordsetType::Dynaset);
    rs->AddNew();
    rs->SetField("Sayi", Value(1.0));
    rs->SetField("Var", Value(true));
    rs->Update();
    rs->MoveFirst();
    EXPECT_EQ(rs->Field("Sayi"), Value(1));
}

} // namespace
