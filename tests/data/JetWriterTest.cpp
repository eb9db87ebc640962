// The Jet writer against two readers: Debian's mdb-export (an independent judge) and the
// engine's own Jet reader. Text of every length, long values inline, on one page and
// chained, Jet 3 rows past 256 and 512 bytes, tables large enough for map pages, the
// header password, and bad values that must leave the rows before them intact.
#include "data/jetwriter/JetWriter.h"
#include "data/Dao.h"
#include "data/jet/JetFile.h"
#include "data/jet/JetHeader.h"
#include "data/jet/JetTableReader.h"
#include "platform/core/Error.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ktv::test {
namespace {

using jet::JetColumnSpec;
using jet::JetFile;
using jet::JetHeader;
using jet::JetTableSpec;
using jet::JetType;
using jet::JetWriteOptions;
using jet::JetWriter;
using Version = JetHeader::Version;

struct VersionRow {
    const char* name;
    Version version;
};

void PrintTo(const VersionRow& row, std::ostream* os) { *os << row.name; }

const VersionRow kVersions[] = {{"Jet3", Version::Jet3}, {"Jet4", Version::Jet4}};

std::string versionName(Version v) { return v == Version::Jet3 ? "Jet 3" : "Jet 4"; }

JetWriteOptions options(Version v, const std::string& password = "")
{
    JetWriteOptions o;
    o.version = v;
    o.password = password;
    return o;
}

// Text values as both readers give them: mdb-export quotes text and prints N for Null and for
// empty text; the engine reads empty text as Null.
void expectTextRows(const std::string& path, const std::string& table,
                    const std::vector<std::vector<Value>>& written)
{
    SCOPED_TRACE(table);
    const auto exported = mdbExport(path, table);
    ASSERT_TRUE(exported) << "mdb-export (package mdbtools) is needed for this test";
    ASSERT_EQ(exported->size(), written.size() + 1);
    const auto ours = readJetTable(path, "", table);
    ASSERT_EQ(ours.size(), written.size());
    for (std::size_t r = 0; r < written.size(); ++r)
        for (std::size_t c = 0; c < written[r].size(); ++c) {
            SCOPED_TRACE("row " + std::to_string(r) + " column " + std::to_string(c));
            const CsvField& theirs = (*exported)[r + 1].at(c);
            const Value& w = written[r][c];
            if (w.isNull() || std::get<std::string>(w.storage()).empty()) {
                EXPECT_FALSE(theirs.quoted);
                EXPECT_EQ(theirs.text, "N");
                EXPECT_TRUE(ours[r][c].isNull());
                continue;
            }
            const auto& text = std::get<std::string>(w.storage());
            EXPECT_TRUE(theirs.quoted);
            EXPECT_EQ(theirs.text, text);
            EXPECT_EQ(ours[r][c], w);
        }
}

class JetWriterTest : public ::testing::Test {
protected:
    TempDir dir;
};

// The tests below run once for each Jet version.
class JetWriterVersions : public JetWriterTest, public ::testing::WithParamInterface<VersionRow> {};

INSTANTIATE_TEST_SUITE_P(JetWriter, JetWriterVersions, ::testing::ValuesIn(kVersions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(JetWriterVersions, TextAndMemosOfEveryLengthReadBackThroughBothReaders)
{
    // Lengths around the inline limit of long values, a memo filling one long-value page and
    // memos chained over several; Turkish, ASCII and mixed text, which Jet 4 compresses in parts.
    const std::vector<std::string> pieces = {"ğüşıöçĞÜŞİÖÇ", "abc xyz", "Çalışıyor / 0212 555 10 20",
                                             "\"quoted\", comma", "line\nbreak"};
    const std::size_t memoLengths[] = {0, 1, 30, 63, 64, 65, 500, 1023, 1024, 1025, 2000, 4100, 9000, 30000};
    const Version v = GetParam().version;
    const std::string path = dir.file(versionName(v) + "-text.mdb");
    std::vector<std::vector<Value>> rows;
    {
        JetWriter writer(
            path, options(v),
            {{"Notlar",
              {{"Kod", JetType::Text, 255}, {"Aciklama", JetType::Memo}, {"Kisa", JetType::Text, 5}}}});
        for (std::size_t i = 0; i < std::size(memoLengths) * pieces.size(); ++i) {
            const std::string& piece = pieces[i % pieces.size()];
            std::string memo;
            while (memo.size() < memoLengths[i / pieces.size()])
                memo += piece;
            std::string code = piece;
            while (code.size() + piece.size() < 255 && (i % 3) == 0)
                code += piece; // codes up to the column's 255 characters
            std::vector<Value> row = {Value(code), Value(memo),
                                      i % 4 == 1 ? Value() : Value(std::string("ab"))};
            if (i % 7 == 3)
                row[1] = Value(); // a Null memo
            if (i % 11 == 5)
                row[0] = Value(std::string()); // empty, not Null
            writer.AddRow(0, row);
            rows.push_back(row);
        }
        writer.Finish();
    }
    expectTextRows(path, "Notlar", rows);
}

TEST_F(JetWriterTest, Jet3RowsPastEachByteOffsetBoundary)
{
    // Jet 3 keeps one byte per offset and a jump table past each 256 bytes; rows of every
    // length around the boundaries (with the table's dummy entry for some) must read back.
    std::vector<JetColumnSpec> columns;
    for (int c = 0; c < 8; ++c)
        columns.push_back({"C" + std::to_string(c), JetType::Text, 255});
    const std::string path = dir.file("rows.mdb");
    std::vector<std::vector<Value>> rows;
    {
        JetWriter writer(path, options(Version::Jet3), {{"Satirlar", columns}});
        for (int total = 0; total < 1900; total += 13) {
            std::vector<Value> row;
            for (int c = 0; c < 8; ++c) {
                const int len = std::max(0, std::min(255, total - c * 255));
                row.push_back(c % 3 == 2 && total % 2
                                  ? Value()
                                  : Value(std::string(static_cast<std::size_t>(len), 'a' + c)));
            }
            writer.AddRow(0, row);
            rows.push_back(row);
        }
        writer.Finish();
    }
    expectTextRows(path, "Satirlar", rows);
}

TEST_P(JetWriterVersions, LargeTablesUseMapPagesAndKeepEveryRow)
{
    // More pages than an inline usage map covers (512 in Jet 4, 1024 in Jet 3), with the rows
    // of two tables interleaved so that neither table's pages lie together.
    const Version v = GetParam().version;
    const std::string path = dir.file(versionName(v) + "-large.mdb");
    const int rowsPerTable = 12000;
    {
        JetWriter writer(path, options(v),
                         {{"Bir", {{"Kod", JetType::Text, 20}, {"Isim", JetType::Text, 255}}},
                          {"Iki", {{"Kod", JetType::Text, 20}}}});
        for (int i = 0; i < rowsPerTable; ++i) {
            writer.AddRow(0, {Value("K" + std::to_string(i)), Value(std::string(180, 'x'))});
            writer.AddRow(1, {Value("L" + std::to_string(i))});
        }
        writer.Finish();
    }
    EXPECT_GT(std::filesystem::file_size(path), (v == Version::Jet3 ? 1100u * 2048 : 600u * 4096));
    for (const char* table : {"Bir", "Iki"}) {
        SCOPED_TRACE(table);
        const auto exported = mdbExport(path, table);
        ASSERT_TRUE(exported);
        ASSERT_EQ(exported->size(), static_cast<std::size_t>(rowsPerTable) + 1);
        EXPECT_EQ((*exported)[rowsPerTable].at(0).text,
                  std::string(table[0] == 'B' ? "K" : "L") + std::to_string(rowsPerTable - 1));
        auto file = JetFile::Open(path, "");
        auto reader = file->OpenTable(table);
        long n = 0;
        while (reader->Next())
            EXPECT_EQ(reader->Get(0), Value(std::string(table[0] == 'B' ? "K" : "L") + std::to_string(n++)));
        EXPECT_EQ(n, rowsPerTable);
    }
}

TEST_P(JetWriterVersions, HeaderCarriesPasswordCodePageAndVersion)
{
    const Version v = GetParam().version;
    const std::string path = dir.file(versionName(v) + "-pwd.mdb");
    {
        JetWriter writer(path, options(v, "7183"), {{"T", {{"Kod", JetType::Text, 10}}}});
        writer.AddRow(0, {Value("ŞİRKET")});
        writer.Finish();
    }
    std::ifstream in(path, std::ios::binary);
    std::string first(JetHeader::kSize, '\0');
    in.read(first.data(), static_cast<std::streamsize>(first.size()));
    const auto header = JetHeader::Parse(first);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->version(), v);
    EXPECT_EQ(header->password(), "7183");
    EXPECT_EQ(header->codePage(), 1254);
    EXPECT_EQ(header->encodingKey(), 0u);
    EXPECT_EQ(readJetTable(path, "7183", "T").at(0).at(0), Value("ŞİRKET"));
    for (const char* wrong : {"", "7184", "71830"}) {
        try {
            JetFile::Open(path, wrong);
            ADD_FAILURE() << "opened with '" << wrong << "'";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 3031);
        }
    }
    // The catalog lists the user table only, as mdb-tables shows it.
    EXPECT_EQ(JetFile::Open(path, "7183")->TableNames(), std::vector<std::string>{"T"});
}

TEST_P(JetWriterVersions, BadValuesFailAndLeaveTheOtherRowsIntact)
{
    const Version v = GetParam().version;
    const std::string path = dir.file(versionName(v) + "-bad.mdb");
    {
        JetWriter writer(
            path, options(v),
            {{"T", {{"Kod", JetType::Text, 5}, {"Sayi", JetType::Long}, {"Not", JetType::Memo}}}});
        writer.AddRow(0, {Value("bir"), Value(1), Value(std::string(5000, 'm'))});
        const auto errorOf = [&](const std::vector<Value>& row) {
            try {
                writer.AddRow(0, row);
            } catch (const Error& e) {
                return e.number();
            }
            return 0;
        };
        EXPECT_EQ(errorOf({Value("altı k"), Value(2), Value()}), 3163); // six characters in five
        EXPECT_EQ(errorOf({Value("iki"), Value("x"), Value()}), 13);    // text in a number
        EXPECT_EQ(errorOf({Value("iki"), Value(std::int64_t{1} << 40), Value()}), 6); // out of range
        EXPECT_EQ(errorOf({Value("iki"), Value(2)}), 3265);                           // a value missing
        if (v == Version::Jet3) {
            EXPECT_EQ(errorOf({Value("Жук"), Value(2), Value()}), 13); // not in code page 1254
        }
        EXPECT_EQ(errorOf({Value("ikı"), Value(2), Value(std::string(5000, 'n'))}), 0);
        writer.Finish();
    }
    const auto rows = readJetTable(path, "", "T");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], Value("bir"));
    EXPECT_EQ(rows[1][0], Value("ikı"));
    EXPECT_EQ(rows[1][2], Value(std::string(5000, 'n')));
}

TEST_F(JetWriterTest, ASnapshotCountsToTheLastRecordAndWalksAgainWithItsMemos)
{
    // MoveLast counts the rows before the last one without reading their values; the last
    // record's values, the walk from MoveFirst and a filtered count must not notice.
    const std::string path = dir.file("snapshot.mdb");
    {
        JetWriter writer(path, options(Version::Jet4),
                         {{"T", {{"Kod", JetType::Text, 20}, {"Not", JetType::Memo}}}});
        for (int i = 0; i < 700; ++i)
            writer.AddRow(0, {Value("K" + std::to_string(i)),
                              Value(std::string(100 + i % 50, static_cast<char>('a' + i % 26)))});
        writer.Finish();
    }
    auto db = dao::Database::OpenDatabase(path, false, true, "");
    auto rs = db->OpenRecordset("T", dao::RecordsetType::Snapshot);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 700);
    EXPECT_EQ(rs->Field("Kod"), Value("K699"));
    EXPECT_EQ(rs->Field("Not"), Value(std::string(100 + 699 % 50, static_cast<char>('a' + 699 % 26))));
    rs->MoveFirst();
    long n = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++n)
        ASSERT_EQ(rs->Field("Not"), Value(std::string(100 + n % 50, static_cast<char>('a' + n % 26)))) << n;
    EXPECT_EQ(n, 700);
    auto one = db->OpenRecordset("SELECT * FROM T WHERE Kod = 'K350'", dao::RecordsetType::Snapshot);
    one->MoveLast();
    EXPECT_EQ(one->RecordCount(), 1);
    EXPECT_EQ(one->Field("Kod"), Value("K350"));
}

TEST_F(JetWriterTest, AFileThatCannotBeCreatedIsAFileAccessError)
{
    try {
        JetWriter writer(dir.file("no/such/folder/x.mdb"), options(Version::Jet4),
                         {{"T", {{"Kod", JetType::Text, 5}}}});
        ADD_FAILURE() << "created";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 75);
    }
}

} // namespace
} // namespace ktv::test
