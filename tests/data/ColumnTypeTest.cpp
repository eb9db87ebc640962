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
    const char* column;
    Value in;
    Value out;     // expected stored value, when err == 0
    int err = 0;
};

class ColumnTypes : public ::testing::Test {
protected:
    void SetUp() override { NumberFormat::pin(NumberFormat{',', '.'}); } // Turkish: 2,5
    void TearDown() override { NumberFormat::unpin(); }
    test::TempDir dir;
};

TEST_F(ColumnTypes, AssignmentConvertsOrRefuses)
{
    const Conversion cases[] = {
        {"Txt", Value("abcde"), Value("abcde")},
        {"Txt", Value("abcdef"), {}, err::FieldTooSmall},
        {"Txt", Value("ŞĞÜİÇ"), Value("ŞĞÜİÇ")}, // five characters, ten bytes
        {"Txt", Value(12), Value("12")},
        {"Txt", Value(2.5), Value("2,5")},
        {"Memo", Value(std::string(100000, 'x')), Value(std::string(100000, 'x'))},
        {"S", Value("12"), Value(std::int64_t{12})},
        {"S", Value(" 18 "), Value(std::int64_t{18})},
        {"S", Value("2,5"), Value(std::int64_t{2})},   // half to even
        {"S", Value("3,5"), Value(std::int64_t{4})},
        {"S", Value(-2.5), Value(std::int64_t{-2})},
        {"S", Value(32767), Value(std::int64_t{32767})},
        {"S", Value(32768), {}, err::Overflow},
        {"S", Value("-32769"), {}, err::Overflow},
        {"S", Value("x"), {}, err::TypeMismatch},
        {"S", Value(""), {}, err::TypeMismatch},
        {"S", Value(true), Value(std::int64_t{-1})},
        {"B", Value(256), {}, err::Overflow},
        {"B", Value(-1), {}, err::Overflow},
        {"L", Value("2147483647"), Value(std::int64_t{2147483647})},
        {"L", Value("2147483648"), {}, err::Overflow},
        {"L", Value(Currency{25000}), Value(std::int64_t{2})},
        {"L", Value(Currency{35000}), Value(std::int64_t{4})},
        {"D", Value("1.234,5"), Value(1234.5)},
        {"C", Value("1500"), Value(Currency{15000000})},
        {"C", Value("0,1"), Value(Currency{1000})},
        {"C", Value("1234567890123,4567"), Value(Currency{12345678901234567})},
        {"C", Value("0,00005"), Value(Currency{0})},   // half to even at the fourth decimal
        {"C", Value("0,00015"), Value(Currency{2})},
        {"C", Value("-1,5"), Value(Currency{-15000})},
        {"C", Value("1e20"), {}, err::Overflow},
        {"C", Value("abc"), {}, err::TypeMismatch},
        {"C", Value(0.1), Value(Currency{1000})},
        {"Dt", Value("2004-02-29"), Value(Date{38046})},
        {"Dt", Value("2004-13-01"), {}, err::TypeMismatch},
        {"Flag", Value("True"), Value(true)},
        {"Flag", Value(0), Value(false)},
        {"Flag", Value("belki"), {}, err::TypeMismatch},
        {"Txt", Value(Null{}), Value(Null{})},
        {"S", Value(Null{}), Value(Null{})},
    };
    auto db = test::makeDatabase(dir.file("k.mdb"));
    for (const auto& c : cases) {
        auto rs = db->OpenRecordset("Kinds", RecordsetType::Dynaset);
        rs->AddNew();
        try {
            rs->SetField(c.column, c.in);
            ASSERT_EQ(c.err, 0) << c.column << " <- " << c.in.toText();
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.err) << c.column << " <- " << c.in.toText();
            continue;
        }
        rs->Update();
        rs->MoveLast(); // the record just added
        EXPECT_EQ(rs->Field(c.column), c.out) << c.column << " <- " << c.in.toText();
    }
}

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

TEST_F(ColumnTypes, TextColumnsReceiveValidUtf8Only)
{
    auto db = test::makeDatabase(dir.file("t.mdb"));
    struct Case {
        std::string in;
        std::string stored;
    } cases[] = {
        {std::string("Ay\0se", 5), "Ayse"},             // NUL characters are dropped
        {"\xDDstanbul \xFE", "İstanbul ş"},             // Windows-1254 bytes are decoded
        {std::string("\xC3\x28", 2), "Ã("},             // a broken sequence, read the same way
        {"Gıda", "Gıda"},                                  // valid UTF-8 stays as it is
    };
    for (const auto& c : cases) {
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
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string v(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
        EXPECT_TRUE(text::isValidUtf8(v) && v.find('\0') == std::string::npos) << v;
    }
    sqlite3_finalize(st);
    sqlite3_close(raw);
}

TEST(Schema, BadSchemasAreRefusedWithTheLine)
{
    const char* bad[] = {
        "Kod TEXT(10)",                 // column before TABLE
        "TABLE T\n  Kod TEXT(0)",
        "TABLE T\n  Kod TEXT(256)",
        "TABLE T\n  Kod VARIANT",
        "TABLE T\n  Kod TEXT(5)\n  Kod TEXT(5)",
        "TABLE T\n  Kod TEXT(5)\n  INDEX Ad",
        "TABLE T\n  Kod TEXT(2) DEFAULT 'uzun'",
        "TABLE T",
    };
    for (const char* text : bad) {
        try {
            parseSchema(text);
            ADD_FAILURE() << text;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::SyntaxError) << text;
        }
    }
}

} // namespace
