// Reading real Jet 3 / Jet 4 files: every table against mdb-export, passwords, RC4-encoded
// pages, Unicode and code page 1254 text, and damaged files failing cleanly.
#include "data/jet/JetFile.h"
#include "data/jet/JetTableReader.h"
#include "data/jetwriter/JetWriter.h"
#include "platform/core/Error.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace ktv::test {
namespace {

using jet::JetFile;
using jet::JetTableReader;

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

struct JetCase {
    const char* file;
    const char* password;
    int tables;
};

void PrintTo(const JetCase& row, std::ostream* os) { *os << row.file; }

const JetCase kAllFiles[] = {
    {"data_V2003_numeric.mdb", "", 1},
    {"db-enc.mdb", "", 1},
    {"db97-enc.mdb", "", 1},
    {"password_V2000_with-password.mdb", "password", 1},
    {"password_V2003_no-password.mdb", "", 1},
    {"password_V2003_with-password.mdb", "password", 1},
    {"testUnicodeCompV2003.mdb", "", 1},
    {"testV1997-cp1254.mdb", "", 4},
    {"testV1997.mdb", "", 4},
};

// A test name from a file name: "db97-enc.mdb" is db97_enc.
std::string fileTestName(const std::string& file)
{
    std::string name = file.substr(0, file.rfind('.'));
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}
std::vector<std::vector<Value>> readAll(JetTableReader& reader)
{
    std::vector<std::vector<Value>> rows;
    while (reader.Next()) {
        std::vector<Value> row;
        for (std::size_t c = 0; c < reader.ColumnNames().size(); ++c)
            row.push_back(reader.Get(static_cast<int>(c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::vector<Value>> readTable(const std::string& path, const std::string& password,
                                          const std::string& table)
{
    auto file = JetFile::Open(path, password);
    auto reader = file->OpenTable(table);
    return readAll(*reader);
}

// Compares one of our values with the field mdb-export printed for it.
void expectSameValue(const Value& ours, const CsvField& theirs, const std::string& where)
{
    SCOPED_TRACE(where);
    const auto& v = ours.storage();
    if (ours.isNull()) {
        EXPECT_TRUE(!theirs.quoted && theirs.text == "N") << "mdb-export printed " << theirs.text;
        return;
    }
    if (const auto* s = std::get_if<std::string>(&v)) {
        EXPECT_TRUE(theirs.quoted);
        EXPECT_EQ(*s, theirs.text);
        return;
    }
    if (const auto* d = std::get_if<Date>(&v)) {
        EXPECT_EQ(jetDateText(d->days), theirs.text);
        return;
    }
    ASSERT_FALSE(theirs.quoted) << theirs.text;
    const double expected = std::stod(theirs.text);
    double actual = 0;
    if (const auto* b = std::get_if<bool>(&v))
        actual = *b ? 1 : 0;
    else if (const auto* i = std::get_if<std::int64_t>(&v))
        actual = static_cast<double>(*i);
    else if (const auto* c = std::get_if<Currency>(&v))
        actual = static_cast<double>(c->scaled) / 10000.0;
    else if (const auto* f = std::get_if<double>(&v))
        actual = *f;
    EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-6 + 1e-9) << theirs.text;
}

class JetFileTest : public ::testing::Test {
protected:
    TempDir dir;
};

class EveryFile : public JetFileTest, public ::testing::WithParamInterface<JetCase> {};

TEST_P(EveryFile, EveryTableReadsAsMdbExportPrintsIt)
{
    const JetCase& c = GetParam();
    const std::string path = copyJetFile(dir, c.file);
    auto file = JetFile::Open(path, c.password);
    const auto tables = file->TableNames();
    ASSERT_EQ(static_cast<int>(tables.size()), c.tables);
    for (const auto& table : tables) {
        SCOPED_TRACE(table);
        const auto expected = mdbExport(path, table);
        ASSERT_TRUE(expected) << "mdb-export (package mdbtools) is needed for this test";
        ASSERT_FALSE(expected->empty());
        auto reader = file->OpenTable(table);
        ASSERT_EQ(expected->front().size(), reader->ColumnNames().size());
        for (std::size_t i = 0; i < reader->ColumnNames().size(); ++i)
            EXPECT_EQ(expected->front()[i].text, reader->ColumnNames()[i]);
        const auto rows = readAll(*reader);
        ASSERT_EQ(expected->size() - 1, rows.size());
        EXPECT_EQ(static_cast<long>(rows.size()), reader->RowCountDeclared());
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t col = 0; col < rows[r].size(); ++col)
                expectSameValue(rows[r][col], (*expected)[r + 1].at(col),
                                "row " + std::to_string(r + 1) + " column " + reader->ColumnNames()[col]);
    }
}

INSTANTIATE_TEST_SUITE_P(JetFile, EveryFile, ::testing::ValuesIn(kAllFiles),
                         [](const auto& info) { return fileTestName(info.param.file); });

TEST_F(JetFileTest, ValuesBecomeTheEnginesTypes)
{
    const auto rows = readTable(copyJetFile(dir, "testV1997.mdb"), "", "Table1");
    ASSERT_EQ(rows.size(), 2u);
    const auto& r = rows[1];
    EXPECT_EQ(r[0], Value("abcdefg"));
    EXPECT_EQ(r[2], Value(std::int64_t{2}));         // byte
    EXPECT_EQ(r[3], Value(std::int64_t{222}));       // integer
    EXPECT_EQ(r[4], Value(std::int64_t{333333333})); // long
    EXPECT_EQ(r[5], Value(444.555));                 // double, exact
    EXPECT_EQ(r[6], Value(Date{27293}));             // 1974-09-21
    EXPECT_EQ(r[7], Value(Currency{35000}));         // 3.5 exactly
    EXPECT_EQ(r[8], Value(true));
    EXPECT_EQ(rows[0][8], Value(false));
}

TEST_F(JetFileTest, NumbersDoNotDependOnTheLocale)
{
    const std::string path = copyJetFile(dir, "testV1997.mdb");
    const auto plain = readTable(path, "", "Table1");
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // A locale with a decimal comma, when the machine has one; C.UTF-8 otherwise.
    if (!std::setlocale(LC_ALL, "tr_TR.UTF-8") && !std::setlocale(LC_ALL, "de_DE.UTF-8"))
        std::setlocale(LC_ALL, "C.UTF-8");
    const auto localized = readTable(path, "", "Table1");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(plain, localized);
}

struct PasswordRow {
    const char* name;
    const char* file;
    const char* password;
    bool opens;
};

void PrintTo(const PasswordRow& row, std::ostream* os) { *os << row.name; }

const PasswordRow kPasswordRows[] = {
    {"V2000_TheRightOne", "password_V2000_with-password.mdb", "password", true},
    {"V2000_AnotherCase", "password_V2000_with-password.mdb", "Password", false},
    {"V2000_AnotherPassword", "password_V2000_with-password.mdb", "7183", false},
    {"V2000_None", "password_V2000_with-password.mdb", "", false},
    {"V2003_TheRightOne", "password_V2003_with-password.mdb", "password", true},
    {"V2003_OneLetterShort", "password_V2003_with-password.mdb", "passwor", false},
    {"V2003_None", "password_V2003_with-password.mdb", "", false},
    {"V2003Unprotected_None", "password_V2003_no-password.mdb", "", true},
    // an unprotected file opens with any password
    {"V2003Unprotected_AnyPassword", "password_V2003_no-password.mdb", "7183", true},
    {"V1997Unprotected_AnyPassword", "testV1997.mdb", "7183", true},
};

class PasswordRows : public JetFileTest, public ::testing::WithParamInterface<PasswordRow> {};

TEST_P(PasswordRows, AreCheckedAgainstTheHeader)
{
    const PasswordRow& row = GetParam();
    const std::string path = copyJetFile(dir, row.file);
    if (row.opens) {
        const auto rows =
            readTable(path, row.password, JetFile::Open(path, row.password)->TableNames().front());
        EXPECT_FALSE(rows.empty());
        return;
    }
    try {
        JetFile::Open(path, row.password);
        ADD_FAILURE() << "opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3031);
        EXPECT_EQ(e.description(), "Not a valid password.");
    }
}

INSTANTIATE_TEST_SUITE_P(JetFile, PasswordRows, ::testing::ValuesIn(kPasswordRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Writes a database password into a Jet header the way the format keeps it: under the
// header's RC4 mask, and in Jet 4 also under the creation-date mask.
void setHeaderPassword(std::string& file, const std::string& storedBytes)
{
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    for (unsigned i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    const bool jet3 = file[0x14] == 0;
    const std::size_t n = jet3 ? 126 : 128;
    std::vector<unsigned char> stream(n);
    for (unsigned k = 0, a = 0, b = 0; k < n; ++k) {
        a = (a + 1) & 0xFF;
        b = (b + s[a]) & 0xFF;
        std::swap(s[a], s[b]);
        stream[k] = s[(s[a] + s[b]) & 0xFF];
    }
    auto at = [&](std::size_t offset) {
        return static_cast<unsigned char>(file[offset] ^ stream[offset - 0x18]);
    };
    const std::size_t room = jet3 ? 20 : 40;
    std::string plain = storedBytes;
    plain.resize(room, '\0');
    if (!jet3) {
        double created = 0;
        unsigned char raw[8];
        for (int i = 0; i < 8; ++i)
            raw[i] = at(0x72 + static_cast<std::size_t>(i));
        std::memcpy(&created, raw, 8);
        const auto mask = static_cast<std::uint32_t>(static_cast<std::int32_t>(created));
        for (std::size_t i = 0; i < room; ++i)
            plain[i] = static_cast<char>(plain[i] ^ ((mask >> (8 * (i % 4))) & 0xFF));
    }
    for (std::size_t i = 0; i < room; ++i)
        file[0x42 + i] = static_cast<char>(static_cast<unsigned char>(plain[i]) ^ stream[0x42 + i - 0x18]);
}

// Jet 3 keeps the password in the header's code page (1254 here: "şifre" with ş = FE);
// Jet 4 keeps UCS-2 ("şifre" = 5F 01 69 00 ...).
struct StoredPassword {
    const char* name;
    const char* file;
    std::string stored;
};

void PrintTo(const StoredPassword& row, std::ostream* os) { *os << row.name; }

const StoredPassword kStoredPasswords[] = {
    {"Jet3_CodePage1254", "testV1997-cp1254.mdb",
     std::string("\xFE"
                 "ifre")},
    {"Jet4_Ucs2", "password_V2003_no-password.mdb",
     std::string("\x5F\x01"
                 "i\0f\0r\0e\0",
                 10)},
};

class StoredPasswordRows : public JetFileTest, public ::testing::WithParamInterface<StoredPassword> {};

TEST_P(StoredPasswordRows, AreInTheFilesOwnEncoding)
{
    const StoredPassword& row = GetParam();
    std::string bytes = readBytes(copyJetFile(dir, row.file));
    setHeaderPassword(bytes, row.stored);
    const std::string path = dir.file("protected.mdb");
    writeBytes(path, bytes);
    EXPECT_FALSE(readTable(path, "şifre", JetFile::Open(path, "şifre")->TableNames().front()).empty());
    for (const char* wrong : {"sifre", "ŞİFRE", ""}) {
        try {
            JetFile::Open(path, wrong);
            ADD_FAILURE() << "opened with '" << wrong << "'";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 3031);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(JetFile, StoredPasswordRows, ::testing::ValuesIn(kStoredPasswords),
                         [](const auto& info) { return std::string(info.param.name); });

const char* const kEncodedFiles[] = {"db-enc.mdb", "db97-enc.mdb"};

class EncodedFile : public JetFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EncodedFile, PagesReadTransparently)
{
    const auto rows = readTable(copyJetFile(dir, GetParam()), "", "Table1");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<Value>{std::int64_t{1}, "hello", std::int64_t{0}}));
    EXPECT_EQ(rows[1], (std::vector<Value>{std::int64_t{2}, "world", std::int64_t{42}}));
}

INSTANTIATE_TEST_SUITE_P(JetFile, EncodedFile, ::testing::ValuesIn(kEncodedFiles),
                         [](const auto& info) { return fileTestName(info.param); });

TEST_F(JetFileTest, TextIsUtf8FromTheFilesEncoding)
{
    const auto unicode = readTable(copyJetFile(dir, "testUnicodeCompV2003.mdb"), "", "Table");
    ASSERT_GE(unicode.size(), 5u);
    EXPECT_EQ(unicode[1][1], Value("ääkkösiä"));
    EXPECT_EQ(unicode[2][1], Value("Мир"));
    EXPECT_EQ(unicode[4][1], Value("漢字仮名交じり文"));

    // Jet 3 text is in the header's code page, whatever libmdb's environment says.
    ::setenv("MDB_JET3_CHARSET", "CP1252", 1);
    ::setenv("MDB_ICONV", "ISO-8859-1", 1);
    const auto turkish = readTable(copyJetFile(dir, "testV1997-cp1254.mdb"), "", "Table1");
    ::unsetenv("MDB_JET3_CHARSET");
    ::unsetenv("MDB_ICONV");
    ASSERT_EQ(turkish.size(), 2u);
    EXPECT_EQ(turkish[1][1], Value("hıŞğçöüşİ"));
    EXPECT_EQ(readTable(copyJetFile(dir, "testV1997.mdb"), "", "Table1")[1][1], Value("hijklmnop"));
}

TEST_F(JetFileTest, TablesAndColumnsAreFoundByNameAnyCase)
{
    auto file = JetFile::Open(copyJetFile(dir, "testV1997.mdb"), "");
    EXPECT_EQ(file->TableNames(), (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
    auto reader = file->OpenTable("table1");
    EXPECT_EQ(reader->ColumnIndex("i"), 8);
    EXPECT_EQ(reader->ColumnIndex("Z"), -1);
    try {
        file->OpenTable("AracKarti");
        ADD_FAILURE() << "opened a missing table";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3078);
    }
}

TEST_F(JetFileTest, TwoReadersOnOneFileDoNotDisturbEachOther)
{
    auto file = JetFile::Open(copyJetFile(dir, "testUnicodeCompV2003.mdb"), "");
    auto a = file->OpenTable("Table");
    auto b = file->OpenTable("Table");
    ASSERT_TRUE(a->Next());
    ASSERT_TRUE(b->Next());
    ASSERT_TRUE(b->Next());
    ASSERT_TRUE(a->Next());
    EXPECT_EQ(a->Get(0), b->Get(0));
    a->Rewind();
    ASSERT_TRUE(a->Next());
    EXPECT_EQ(a->Get(0), Value(std::int64_t{1}));
    EXPECT_EQ(a->RowsRead(), 1);
}

// --- damaged files ---------------------------------------------------------------------

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Opens the file and reads every table; returns the engine error it raised, if any.
std::optional<Error> readEverything(const std::string& path, const std::string& password = "")
{
    try {
        auto file = JetFile::Open(path, password);
        for (const auto& table : file->TableNames()) {
            auto reader = file->OpenTable(table);
            while (reader->Next()) {
            }
        }
    } catch (const Error& e) {
        return e;
    }
    return std::nullopt;
}

TEST_F(JetFileTest, MissingAndForeignFilesAreEngineErrors)
{
    auto e = readEverything(dir.file("none.mdb"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number(), 3024);

    writeBytes(dir.file("text.mdb"), std::string(8192, 'x'));
    e = readEverything(dir.file("text.mdb"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number(), 3343);
}

TEST_F(JetFileTest, TruncatedCopiesFailWithAnEngineError)
{
    // Cut mid-page, the file is refused at once. Cut at any page boundary, it either fails
    // with an engine error or (when only pages of system tables were lost) reads exactly as
    // the whole file: a shorter table is never returned as if it were whole.
    const std::string path = copyJetFile(dir, "testUnicodeCompV2003.mdb");
    const std::string whole = readBytes(path);
    const auto wholeRows = readTable(path, "", "Table");
    const std::size_t page = 4096;
    ASSERT_EQ(whole.size() % page, 0u);
    writeBytes(dir.file("cut.mdb"), whole.substr(0, whole.size() - 100));
    auto e = readEverything(dir.file("cut.mdb"));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->number(), 3343);
    int failures = 0;
    for (std::size_t pages = 1; pages < whole.size() / page; ++pages) {
        SCOPED_TRACE(pages);
        writeBytes(dir.file("cut.mdb"), whole.substr(0, pages * page));
        e = readEverything(dir.file("cut.mdb"));
        if (e) {
            ++failures;
            EXPECT_TRUE(e->number() == 3343 || e->number() == 3049) << e->number() << " " << e->description();
        } else {
            EXPECT_EQ(readTable(dir.file("cut.mdb"), "", "Table"), wholeRows);
        }
    }
    EXPECT_GT(failures, 50); // the table's own pages are among the first 56 of 72
}

TEST_F(JetFileTest, RandomBytesBehindTheSignatureFailCleanly)
{
    const std::string real = readBytes(copyJetFile(dir, "testV1997.mdb"));
    std::mt19937 rng(20261208);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::string bytes(static_cast<std::size_t>(4096) * (3 + round % 5), '\0');
        for (auto& b : bytes)
            b = static_cast<char>(rng());
        // The signature, and for half of the rounds the real header page too, so that libmdb
        // gets past its own header check and meets garbage in the catalog and tables.
        const std::size_t keep = round % 2 ? 2048 : 0x15;
        bytes.replace(0, keep, real.substr(0, keep));
        writeBytes(dir.file("random.mdb"), bytes);
        const auto e = readEverything(dir.file("random.mdb"));
        ASSERT_TRUE(e) << "random bytes read as a database";
        EXPECT_TRUE(e->number() == 3343 || e->number() == 3049) << e->number() << " " << e->description();
    }
}

TEST_F(JetFileTest, MutatedCopiesFailOrReadButNeverCrash)
{
    // Bytes overwritten, bits flipped and pages scribbled over, past the header. Among these
    // are damaged property blobs and usage maps that libmdb itself would read out of bounds
    // or through a null pointer; here they must end as an engine error or a clean read.
    for (const char* name : {"data_V2003_numeric.mdb", "password_V2003_no-password.mdb", "testV1997.mdb"}) {
        SCOPED_TRACE(name);
        const std::string whole = readBytes(copyJetFile(dir, name));
        std::mt19937 rng(1);
        for (int round = 0; round < 150; ++round) {
            std::string bytes = whole;
            const unsigned mode = rng() % 3;
            const unsigned edits = 1 + rng() % 64;
            for (unsigned k = 0; k < edits; ++k) {
                const std::size_t pos = 0x200 + rng() % (bytes.size() - 0x200);
                if (mode == 0) {
                    bytes[pos] = static_cast<char>(rng());
                } else if (mode == 1) {
                    bytes[pos] = static_cast<char>(bytes[pos] ^ (1 << (rng() % 8)));
                } else {
                    const std::size_t pageStart = pos / 2048 * 2048;
                    for (int j = 0; j < 64; ++j)
                        bytes[pageStart + rng() % 2048] = static_cast<char>(rng());
                }
            }
            writeBytes(dir.file("mutated.mdb"), bytes);
            const auto e = readEverything(dir.file("mutated.mdb"));
            if (e) {
                EXPECT_TRUE(e->number() == 3343 || e->number() == 3049) << round << ": " << e->description();
            }
        }
    }
}

// A memo whose long-value chain was made to loop back on itself, alone or with a declared
// length far beyond the file: refused as damage, never read as megabytes of repeated pages.
struct LoopingChain {
    const char* name;
    std::uint32_t declared; // the memo's length as its row declares it; 0 keeps the real one
};

void PrintTo(const LoopingChain& row, std::ostream* os) { *os << row.name; }

class LoopingMemoChain : public JetFileTest, public ::testing::WithParamInterface<LoopingChain> {};

TEST_P(LoopingMemoChain, IsRefusedAsADamagedFile)
{
    const std::string path = dir.file("loop.mdb");
    {
        jet::JetWriteOptions o;
        o.version = jet::JetHeader::Version::Jet4;
        jet::JetWriter writer(path, o,
                              {{"Notlar", {{"Kod", jet::JetType::Text, 10}, {"Not", jet::JetType::Memo}}}});
        writer.AddRow(0,
                      {Value("K1"), Value(std::string(9999, 'a'))}); // 19998 bytes of UCS-2 over five pages
        writer.Finish();
    }
    std::string bytes = readBytes(path);
    const auto le32 = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    const auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); };
    bool looped = false;
    std::size_t lengthAt = 0;
    for (std::size_t page = 1; page < bytes.size() / 4096; ++page) {
        const std::size_t base = page * 4096;
        if (bytes[base] != 1)
            continue;
        if (bytes.compare(base + 4, 4, "LVAL") != 0) {
            // The data page of the row: the memo's reference starts with its length.
            for (std::size_t at = base + 14; at + 4 <= base + 4096; ++at)
                if (le32(at) == 19998)
                    lengthAt = at;
            continue;
        }
        const unsigned rows = static_cast<unsigned char>(bytes[base + 12]);
        for (unsigned r = 0; r < rows && !looped; ++r) {
            std::uint16_t start;
            std::memcpy(&start, bytes.data() + base + 14 + 2 * r, 2);
            const std::size_t row = base + (start & 0x1FFF);
            if (le32(row) != 0) {
                put32(row, static_cast<std::uint32_t>(page << 8 | r)); // the next segment is this one
                looped = true;
            }
        }
    }
    ASSERT_TRUE(looped && lengthAt) << "the memo is not chained as expected";
    if (GetParam().declared)
        put32(lengthAt, GetParam().declared);
    writeBytes(path, bytes);
    const auto e = readEverything(path);
    ASSERT_TRUE(e) << "a looping chain was read as a memo";
    EXPECT_EQ(e->number(), 3049) << e->description();
}

const LoopingChain kLoopingChains[] = {
    {"WithItsRealLength", 0},
    {"DeclaringMoreThanTheFileHolds", 64u << 20},
};

INSTANTIATE_TEST_SUITE_P(JetFile, LoopingMemoChain, ::testing::ValuesIn(kLoopingChains),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ktv::test
