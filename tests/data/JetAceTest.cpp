// ACE files (.accdb, Access 2007 and later): read like Jet 4 when not encrypted, refused with
// an error that says so when encrypted, and unknown later versions refused as unrecognised.
#include "data/Dao.h"
#include "data/jet/JetFile.h"
#include "data/jet/JetTableReader.h"
#include "platform/core/Error.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace ktv::test {
namespace {

using jet::JetFile;

int errorNumber(const std::function<void()>& f, std::string* description = nullptr)
{
    try {
        f();
    } catch (const Error& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

class JetAceTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(JetAceTest, AnUnencryptedAceFileReadsAsMdbExportPrintsIt)
{
    const std::string path = copyJetFile(dir, "V2007_test2.accdb");
    auto file = JetFile::Open(path, "");
    // As mdb-tables lists them (the second one is not flagged as a system table).
    ASSERT_EQ(file->TableNames(), (std::vector<std::string>{"MSP_PROJECTS", "MSysCompactError"}));
    auto reader = file->OpenTable("MSP_PROJECTS");
    const auto exported = mdbExport(path, "MSP_PROJECTS", true);
    ASSERT_TRUE(exported) << "mdb-export (package mdbtools) is needed for this test";
    ASSERT_EQ(exported->front().size(), reader->ColumnNames().size());
    const int ole = reader->ColumnIndex("RESERVED_BINARY_DATA");
    ASSERT_GE(ole, 0);
    std::size_t row = 0;
    int texts = 0;
    while (reader->Next()) {
        ++row;
        ASSERT_LT(row, exported->size());
        for (std::size_t c = 0; c < reader->ColumnNames().size(); ++c) {
            SCOPED_TRACE(reader->ColumnNames()[c]);
            const Value& ours = reader->Get(static_cast<int>(c));
            const CsvField& theirs = (*exported)[row].at(c);
            if (static_cast<int>(c) == ole) {
                EXPECT_GT(theirs.text.size(), 1000u)
                    << "the file's OLE column holds an object on long-value pages";
            }
            if (ours.isNull()) {
                EXPECT_TRUE(theirs.text == "N" || theirs.text.empty()) << theirs.text;
            } else if (const auto* s = std::get_if<std::string>(&ours.storage())) {
                EXPECT_EQ(*s, theirs.text);
                ++texts;
            } else if (const auto* d = std::get_if<Date>(&ours.storage())) {
                EXPECT_EQ(jetDateText(d->days), theirs.text);
            } else if (const auto* b = std::get_if<bool>(&ours.storage())) {
                EXPECT_EQ(*b ? "1" : "0", theirs.text);
            } else if (const auto* i = std::get_if<std::int64_t>(&ours.storage())) {
                EXPECT_EQ(std::to_string(*i), theirs.text);
            } else if (const auto* f = std::get_if<double>(&ours.storage())) {
                EXPECT_NEAR(*f, std::stod(theirs.text), std::abs(*f) * 1e-7);
            } else if (const auto* m = std::get_if<Currency>(&ours.storage())) {
                EXPECT_NEAR(static_cast<double>(m->scaled) / 10000, std::stod(theirs.text), 1e-4);
            }
        }
    }
    EXPECT_EQ(row + 1, exported->size());
    EXPECT_GT(texts, 3);

    // Through the engine like any source: a snapshot, found by its bytes, not its extension.
    auto db = dao::Database::OpenDatabase(path, false, true, "");
    EXPECT_EQ(db->TableNames().front(), "MSP_PROJECTS");
    auto rs = db->OpenRecordset("MSP_PROJECTS", dao::RecordsetType::Snapshot);
    EXPECT_EQ(rs->Field("PROJ_NAME"), Value("Project1"));
}

struct AcePassword {
    const char* name;
    const char* password;
};

void PrintTo(const AcePassword& row, std::ostream* os) { *os << row.name; }

const AcePassword kAcePasswords[] = {
    {"None", ""},
    {"TheWordPassword", "password"},
    {"Digits", "7183"},
};

class EncryptedAceFile : public JetAceTest, public ::testing::WithParamInterface<AcePassword> {};

TEST_P(EncryptedAceFile, IsRefusedAsEncrypted)
{
    const std::string path = copyJetFile(dir, "db2007-enc.accdb");
    const char* password = GetParam().password;
    std::string description;
    EXPECT_EQ(errorNumber([&] { JetFile::Open(path, password); }, &description), 3051);
    EXPECT_NE(description.find("encrypted"), std::string::npos) << description;
    EXPECT_EQ(description.find("Unrecognized"), std::string::npos) << description;
    EXPECT_EQ(
        errorNumber([&] { dao::Database::OpenDatabase(path, false, true, std::string(";pwd=") + password); },
                    &description),
        3051);
    EXPECT_NE(description.find("encrypted"), std::string::npos) << description;
}

INSTANTIATE_TEST_SUITE_P(JetAce, EncryptedAceFile, ::testing::ValuesIn(kAcePasswords),
                         [](const auto& info) { return std::string(info.param.name); });

struct LaterVersion {
    const char* name;
    char version;
};

void PrintTo(const LaterVersion& row, std::ostream* os) { *os << row.name; }

const LaterVersion kLaterVersions[] = {
    {"Byte07", '\x07'},
    {"Byte7F", '\x7F'},
};

class LaterAceVersion : public JetAceTest, public ::testing::WithParamInterface<LaterVersion> {};

TEST_P(LaterAceVersion, IsUnrecognised)
{
    std::string bytes = readFile(copyJetFile(dir, "V2007_test2.accdb"));
    bytes[0x14] = GetParam().version;
    const std::string path = dir.file("later.accdb");
    writeFile(path, bytes);
    EXPECT_EQ(errorNumber([&] { JetFile::Open(path, ""); }), 3343);
}

INSTANTIATE_TEST_SUITE_P(JetAce, LaterAceVersion, ::testing::ValuesIn(kLaterVersions),
                         [](const auto& info) { return std::string(info.param.name); });

// A Jet signature with an ACE version byte, or the other way round, is no known format.
TEST_F(JetAceTest, AJetSignatureWithAnAceVersionIsUnrecognised)
{
    const std::string source = copyJetFile(dir, "V2007_test2.accdb");
    std::string bytes = readFile(source);
    bytes.replace(4, 15, "Standard Jet DB");
    writeFile(dir.file("mixed.mdb"), bytes);
    EXPECT_EQ(errorNumber([&] { JetFile::Open(dir.file("mixed.mdb"), ""); }), 3343);
}

} // namespace
} // namespace ktv::test
