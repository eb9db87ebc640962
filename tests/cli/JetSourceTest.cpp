// Real Jet sources through the tool: Jet 3 and Jet 4 samples read back by mdb-export and by
// dump exactly as the sample of this program's format with the same seed, and a conversion
// from a Jet source giving exactly the cards the other source gives.
#include "cli/Cli.h"
#include "data/jetwriter/JetWriter.h"
#include "support/TestSupport.h"
#include "support/jet/JetTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace ktv;
using namespace ktv::cli;
namespace fs = std::filesystem;

namespace {

struct Captured {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool in-process with stdout and stderr captured.
Captured run(const std::vector<std::string>& args)
{
    std::fflush(stdout);
    std::fflush(stderr);
    char outName[] = "/tmp/ktvjetout.XXXXXX";
    char errName[] = "/tmp/ktvjeterr.XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    const int savedOut = dup(1);
    const int savedErr = dup(2);
    dup2(outFd, 1);
    dup2(errFd, 2);
    const int status = Main(args, ".");
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    for (const int fd : {savedOut, savedErr, outFd, errFd})
        close(fd);
    Captured c{status, test::readFile(outName), test::readFile(errName)};
    unlink(outName);
    unlink(errName);
    return c;
}

const char* const kTables[] = {"AracKarti", "CariKart", "StokKarti"};

struct JetCase {
    const char* name;
    const char* type;
    const char* format;
};

void PrintTo(const JetCase& row, std::ostream* os) { *os << row.name; }

// Both source types, each from one Jet version (and the other way round in the sample checks).
const JetCase kConversions[] = {{"KtdFromJet4", "KTD", "jet4"}, {"PvdFromJet3", "PVD", "jet3"}};

struct JetFormat {
    const char* name;
    const char* format;
};

void PrintTo(const JetFormat& row, std::ostream* os) { *os << row.name; }

const JetFormat kJetFormats[] = {{"Jet3", "jet3"}, {"Jet4", "jet4"}};

class JetSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::getenv("KTV_APP_DIR");
        ASSERT_NE(app, nullptr);
    }

    std::string sample(const std::string& name, const std::string& type, const std::string& format,
                       int records, int seed)
    {
        const std::string path = dir.file(name);
        const auto r = run({"sample", "--type", type, "--format", format, "--out", path, "--records",
                            std::to_string(records), "--seed", std::to_string(seed)});
        EXPECT_EQ(r.status, 0) << r.err;
        return path;
    }

    std::string root(const std::string& name)
    {
        const fs::path r = dir.path() / name;
        fs::create_directories(r);
        for (const char* t : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
            fs::copy_file(fs::path(app) / t, r / t);
        return r.string();
    }

    const char* app = nullptr;
    test::TempDir dir;
};

class JetSampleFormats : public JetSourceTest, public ::testing::WithParamInterface<JetFormat> {};

TEST_P(JetSampleFormats, SamplesReadBackThroughMdbExportAsTheOwnFormatDumps)
{
    const int records = 420; // past the Null code (211th); codes cut to collide come from the second on
    const std::string own = sample("own.ktd", "KTD", "sqlite", records, 11);
    const char* format = GetParam().format;
    const std::string jet = sample(std::string(format) + ".mdb", "KTD", format, records, 11);
    EXPECT_EQ(test::readFile(jet).substr(4, 15), "Standard Jet DB");
    for (const char* table : kTables) {
        SCOPED_TRACE(table);
        const auto ownDump = run({"dump", own, "--password", "7183", "--table", table});
        ASSERT_EQ(ownDump.status, 0) << ownDump.err;
        // The engine reads the Jet file exactly as the file of its own format.
        const auto jetDump = run({"dump", jet, "--password", "7183", "--table", table});
        ASSERT_EQ(jetDump.status, 0) << jetDump.err;
        EXPECT_EQ(jetDump.out, ownDump.out);
        // And the independent reader sees the same values (Null and empty text both as empty).
        const auto expected = test::parseCsv(ownDump.out);
        const auto exported = test::mdbExport(jet, table);
        ASSERT_TRUE(exported) << "mdb-export (package mdbtools) is needed for this test";
        ASSERT_EQ(exported->size(), expected.size());
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(records) + 1);
        for (std::size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ((*exported)[r].size(), expected[r].size()) << "row " << r;
            for (std::size_t c = 0; c < expected[r].size(); ++c) {
                const auto& theirs = (*exported)[r][c];
                const std::string text = theirs.quoted || theirs.text != "N" ? theirs.text : std::string();
                EXPECT_EQ(text, expected[r][c].text) << "row " << r << " column " << c;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(JetSource, JetSampleFormats, ::testing::ValuesIn(kJetFormats),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JetSourceTest, SampleFormatIsCheckedAndDefaultsToTheOwnFormat)
{
    EXPECT_EQ(
        run({"sample", "--type", "KTD", "--format", "jet5", "--out", dir.file("x"), "--records", "1"}).status,
        2);
    const std::string own = sample("own.ktd", "KTD", "sqlite", 3, 1);
    const std::string plain = dir.file("plain.ktd");
    ASSERT_EQ(run({"sample", "--type", "KTD", "--out", plain, "--records", "3"}).status, 0);
    EXPECT_EQ(test::readFile(plain).substr(0, 15), "SQLite format 3");
    // A file whose folder is missing is a usage error and leaves nothing behind.
    const std::string nowhere = dir.file("yok/x.mdb");
    EXPECT_EQ(run({"sample", "--type", "KTD", "--format", "jet4", "--out", nowhere, "--records", "3"}).status,
              2);
    EXPECT_FALSE(fs::exists(nowhere + ".partial"));
    EXPECT_FALSE(fs::exists(nowhere));
}

class JetConversions : public JetSourceTest, public ::testing::WithParamInterface<JetCase> {};

TEST_P(JetConversions, ConversionFromAJetSourceGivesTheSameCards)
{
    const JetCase& c = GetParam();
    const int records = 300;
    const std::string own = sample(std::string("own.") + c.type, c.type, "sqlite", records, 23);
    const std::string jet = sample(std::string(c.format) + "." + c.type, c.type, c.format, records, 23);
    const std::string ownRoot = root(std::string("own-") + c.type);
    const std::string jetRoot = root(std::string("jet-") + c.type);
    std::string reports[2];
    const std::string* roots[2] = {&ownRoot, &jetRoot};
    const std::string* sources[2] = {&own, &jet};
    for (int i = 0; i < 2; ++i) {
        const std::string json = dir.file("report.json");
        const auto r = run({"convert", "--type", c.type, "--source", *sources[i], "--company", "7", "--year",
                            "2005", "--name", "Güneş Gıda", "--root", *roots[i], "--report", json});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string report = test::readFile(json);
        reports[i] = report.substr(report.find("\"tables\""));
    }
    // Read, added, present, skipped (unknown stock kinds) and cut: the same counts.
    EXPECT_EQ(reports[1], reports[0]);
    EXPECT_NE(reports[0].find("\"read\": 300"), std::string::npos) << reports[0];
    int cardTables = 0;
    for (const char* db : {"KTFIM.mdb", "KTCHM.mdb"})
        for (const char* table : {"AracKarti", "CariKart", "StokKart"}) {
            SCOPED_TRACE(std::string(db) + " " + table);
            const std::string where = std::string("DATA/7/2005/") + db;
            const auto ownCards = run({"dump", ownRoot + "/" + where, "--table", table});
            const auto jetCards = run({"dump", jetRoot + "/" + where, "--table", table});
            ASSERT_EQ(ownCards.status, jetCards.status);
            EXPECT_EQ(jetCards.out, ownCards.out);
            if (ownCards.status == 0 && ownCards.out.find("\r\n") + 2 < ownCards.out.size())
                ++cardTables;
            // Turkish text arrives as it was written.
            if (std::string(table) == "CariKart" && ownCards.status == 0 && ownCards.out.size() > 200) {
                EXPECT_NE(jetCards.out.find("Dağıtım A.Ş."), std::string::npos);
            }
        }
    EXPECT_GE(cardTables, 3);
}

TEST_P(JetConversions, AJetSourceWithAnotherPasswordFailsBeforeTheCompanyIsRecorded)
{
    const JetCase& c = GetParam();
    const std::string source = dir.file(std::string("other.") + c.type);
    WriteSampleSource(source, c.type, 20, 3, "4321",
                      std::string(c.format) == "jet3" ? SampleFormat::Jet3 : SampleFormat::Jet4);
    const std::string r = root(std::string("pwd-") + c.type);
    const auto result = run({"convert", "--type", c.type, "--source", source, "--company", "8", "--year",
                             "2006", "--name", "Şahin Ltd", "--root", r});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("3031"), std::string::npos) << result.err;
    // The tool opens its source first: a wrong one leaves no register entry and no year database.
    EXPECT_FALSE(fs::exists(r + "/DATA")) << result.err;
}

INSTANTIATE_TEST_SUITE_P(JetSource, JetConversions, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(JetSourceTest, DumpPrintsFloatingPointAsTheShortestExactText)
{
    const std::string path = dir.file("sayilar.mdb");
    {
        jet::JetWriter writer(path, {},
                              {{"Sayilar",
                                {{"Cift", jet::JetType::Double},
                                 {"Tek", jet::JetType::Single},
                                 {"Ondalik", jet::JetType::Decimal, 0, 28, 2}}}});
        writer.AddRow(0,
                      {Value(0.1 + 0.2), Value(static_cast<double>(1.1f)), Value("123456789012345678.25")});
        writer.AddRow(0, {Value(1.0 / 3.0), Value(static_cast<double>(0.1f)), Value("-0.5")});
        writer.AddRow(0, {Value(1e21), Value(), Value()});
        writer.Finish();
    }
    const auto r = run({"dump", path, "--table", "Sayilar"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Cift,Tek,Ondalik\r\n0.30000000000000004,1.1,123456789012345678.25\r\n"
                     "0.3333333333333333,0.1,-0.5\r\n1e+21,,\r\n");
}

} // namespace
