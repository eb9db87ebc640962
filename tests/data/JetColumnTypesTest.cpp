// Every Jet column type read exactly: files written with each type (Jet 3 and Jet 4) read
// back through the engine's reader with the values written, and through mdb-export as the
// independent check of what the file holds.
#include "data/jet/JetFile.h"
#include "data/jet/JetTableReader.h"
#include "data/jetwriter/JetWriter.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace ktv::test {
namespace {

using jet::JetHeader;
using jet::JetType;
using jet::JetWriteOptions;
using jet::JetWriter;

std::string hexOf(const std::string& bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char b : bytes)
        out += {digits[b >> 4], digits[b & 0x0F]};
    return out;
}

std::string writeOne(const TempDir& dir, JetHeader::Version version,
                     const std::vector<jet::JetColumnSpec>& columns,
                     const std::vector<std::vector<Value>>& rows)
{
    JetWriteOptions o;
    o.version = version;
    const std::string path = dir.file(version == JetHeader::Version::Jet3 ? "types3.mdb" : "types4.mdb");
    JetWriter writer(path, o, {{"Tipler", columns}});
    for (const auto& row : rows)
        writer.AddRow(0, row);
    writer.Finish();
    return path;
}

class JetColumnTypesTest : public ::testing::Test {
protected:
    TempDir dir;
};

struct VersionRow {
    const char* name;
    JetHeader::Version version;
};

void PrintTo(const VersionRow& row, std::ostream* os) { *os << row.name; }

const VersionRow kVersions[] = {{"Jet3", JetHeader::Version::Jet3}, {"Jet4", JetHeader::Version::Jet4}};

// The tests below run once for each Jet version.
class JetColumnTypeVersions : public JetColumnTypesTest, public ::testing::WithParamInterface<VersionRow> {};

INSTANTIATE_TEST_SUITE_P(JetColumnTypes, JetColumnTypeVersions, ::testing::ValuesIn(kVersions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(JetColumnTypeVersions, DoublesAndSinglesComeBackAsTheStoredNumbers)
{
    const double doubles[] = {0.1,         1.0 / 3.0, 0.1 + 0.2, 123456789.12345679, -2.5e-300, DBL_MAX,
                              DBL_MIN / 8, 1e21,      -0.0};
    const float singles[] = {1.1f,        0.1f,       3.4028235e38f, 1e-45f, -7.25f,
                             16777217.0f, 2.7182817f, 1e-10f,        0.0f};
    const auto version = GetParam().version;
    std::vector<std::vector<Value>> rows;
    for (std::size_t i = 0; i < std::size(doubles); ++i)
        rows.push_back({Value(doubles[i]), Value(static_cast<double>(singles[i]))});
    const std::string path =
        writeOne(dir, version, {{"Cift", JetType::Double}, {"Tek", JetType::Single}}, rows);
    const auto read = readJetTable(path, "", "Tipler");
    ASSERT_EQ(read.size(), rows.size());
    const auto exported = mdbExport(path, "Tipler");
    ASSERT_TRUE(exported);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const double d = std::get<double>(read[i][0].storage());
        EXPECT_EQ(std::memcmp(&d, &doubles[i], sizeof d), 0) << d << " for " << doubles[i]; // bit for bit
        // A Single is the number its shortest text names: 1.1, not 1.100000023841858...
        const double s = std::get<double>(read[i][1].storage());
        EXPECT_EQ(static_cast<float>(s), singles[i]);
        char buf[64];
        EXPECT_EQ(std::string(buf, std::to_chars(buf, buf + sizeof buf, s).ptr),
                  std::string(buf, std::to_chars(buf, buf + sizeof buf, singles[i]).ptr));
        // mdb-export agrees on the stored numbers (it prints 16 and 8 digits).
        EXPECT_DOUBLE_EQ(std::strtod((*exported)[i + 1].at(0).text.c_str(), nullptr), doubles[i]);
        EXPECT_FLOAT_EQ(std::strtof((*exported)[i + 1].at(1).text.c_str(), nullptr), singles[i]);
    }
}

// Precision 28, scale 4. Up to 15 significant digits a decimal is a number; beyond, its
// exact text, never a rounded double.
struct DecimalRow {
    const char* name;
    const char* written;
    Value read;
    const char* exported;
};

void PrintTo(const DecimalRow& row, std::ostream* os) { *os << row.name; }

const DecimalRow kDecimalRows[] = {
    {"TwentyDigitsBeforeThePoint", "12345678901234567890.1234", Value("12345678901234567890.1234"),
     "12345678901234567890.1234"},
    {"MostNegative", "-999999999999999999999999.9999", Value("-999999999999999999999999.9999"),
     "-999999999999999999999999.9999"},
    {"SixteenDigitsStayText", "1234567890123456", Value("1234567890123456.0000"), "1234567890123456.0000"},
    {"FifteenDigitsAreANumber", "12345678901.2345", Value(12345678901.2345), "12345678901.2345"},
    {"NegativeHalf", "-0.5", Value(-0.5), "-0.5000"},
    {"Zero", "0", Value(0.0), "0.0000"},
    {"SmallestStep", "0.0001", Value(0.0001), "0.0001"},
};

class DecimalRows : public JetColumnTypesTest, public ::testing::WithParamInterface<DecimalRow> {};

// Each decimal in a Jet 4 table, with a Null decimal after it.
TEST_P(DecimalRows, KeepEveryDigit)
{
    const DecimalRow& c = GetParam();
    const std::vector<std::vector<Value>> rows = {{Value(c.written), Value(std::int64_t{1})},
                                                  {Value(), Value(std::int64_t{2})}};
    const std::string path = writeOne(dir, JetHeader::Version::Jet4,
                                      {{"Tutar", JetType::Decimal, 0, 28, 4}, {"No", JetType::Long}}, rows);
    const auto read = readJetTable(path, "", "Tipler");
    const auto exported = mdbExport(path, "Tipler");
    ASSERT_TRUE(exported);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0][0], c.read);
    EXPECT_EQ((*exported)[1].at(0).text, c.exported);
    EXPECT_TRUE(read[1][0].isNull());
}

INSTANTIATE_TEST_SUITE_P(JetColumnTypes, DecimalRows, ::testing::ValuesIn(kDecimalRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(JetColumnTypeVersions, GuidsBinaryOleAndTheFixedTypes)
{
    const std::string guid = "{8E39276A-BCA8-4AC4-891E-49911D8438DD}";
    const std::string binary("\x00\x01\x7F\x00\xFF", 5); // zero bytes inside
    const std::string ole(6000, '\x5A');                 // on a long-value page
    const std::vector<jet::JetColumnSpec> columns = {
        {"Kimlik", JetType::Guid},  {"Ham", JetType::Binary, 16}, {"Nesne", JetType::Ole},
        {"Kod", JetType::Text, 10}, {"Bayt", JetType::Byte},      {"Tam", JetType::Integer},
        {"Uzun", JetType::Long},    {"Para", JetType::Currency},  {"Tarih", JetType::DateTime},
        {"Evet", JetType::Boolean},
    };
    const std::vector<std::vector<Value>> rows = {
        {Value(guid), Value(binary), Value(ole), Value("ilk"), Value(255), Value(-32768),
         Value(std::int64_t{-2147483647 - 1}), Value(Currency{-123456789}), Value(Date{38353.75}),
         Value(true)},
        {Value(), Value(), Value(std::string("kısa")), Value("iki"), Value(), Value(), Value(), Value(),
         Value(), Value(false)},
    };
    const auto version = GetParam().version;
    const std::string path = writeOne(dir, version, columns, rows);
    // An OLE object is read as its bytes in hex digits, like a Binary value.
    const auto read = readJetTable(path, "", "Tipler");
    ASSERT_EQ(read.size(), 2u);
    const std::vector<Value> first = {Value(guid),
                                      Value("00017F00FF"),
                                      Value(hexOf(ole)),
                                      Value("ilk"),
                                      Value(255),
                                      Value(-32768),
                                      Value(std::int64_t{-2147483647 - 1}),
                                      Value(Currency{-123456789}),
                                      Value(Date{38353.75}),
                                      Value(true)};
    EXPECT_EQ(read[0], first);
    EXPECT_EQ(read[1][2], Value(hexOf("kısa")));
    EXPECT_EQ(read[1][3], Value("iki"));
    EXPECT_EQ(read[1][9], Value(false));
    for (const int c : {0, 1, 4, 5, 6, 7, 8})
        EXPECT_TRUE(read[1][static_cast<std::size_t>(c)].isNull()) << c;
    // The file holds what was written, by mdb-export's reading (its GUID text lacks the
    // fourth dash; its dates print to the second).
    const auto exported = mdbExport(path, "Tipler");
    ASSERT_TRUE(exported);
    EXPECT_EQ((*exported)[1].at(0).text, "{8E39276A-BCA8-4AC4-891E49911D8438DD}");
    EXPECT_EQ((*exported)[1].at(3).text, "ilk");
    EXPECT_EQ((*exported)[1].at(4).text, "255");
    EXPECT_EQ((*exported)[1].at(5).text, "-32768");
    EXPECT_EQ((*exported)[1].at(6).text, "-2147483648");
    EXPECT_EQ((*exported)[1].at(7).text, "-12345.6789");
    EXPECT_EQ((*exported)[1].at(8).text, "2005-01-01 18:00:00");
    EXPECT_EQ((*exported)[1].at(9).text, "1");
    EXPECT_EQ((*exported)[2].at(9).text, "0");
}

} // namespace
} // namespace ktv::test
