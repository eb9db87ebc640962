// The headless tool end to end: usage errors, sample sources, convert with its report,
// the dry run, protect and dump.
#include "cli/Cli.h"
#include "cli/Args.h"
#include "convert/SourceSchema.h"
#include "data/Dao.h"
#include "platform/core/TextCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ktv;
using namespace ktv::cli;
namespace fs = std::filesystem;

namespace {

// Runs the tool in-process with stdout captured.
struct Captured {
    int status;
    std::string out;
    std::string err;
};

Captured runCli(const std::vector<std::string>& args, const std::string& exeFolder = ".")
{
    std::fflush(stdout);
    std::fflush(stderr);
    char name[] = "/tmp/ktvcliout.XXXXXX";
    char errName[] = "/tmp/ktvclierr.XXXXXX";
    const int fd = mkstemp(name);
    const int errFd = mkstemp(errName);
    const int saved = dup(1);
    const int savedErr = dup(2);
    dup2(fd, 1);
    dup2(errFd, 2);
    const int status = Main(args, exeFolder);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(saved, 1);
    dup2(savedErr, 2);
    close(saved);
    close(savedErr);
    close(fd);
    close(errFd);
    Captured c{status, test::readFile(name), test::readFile(errName)};
    unlink(name);
    unlink(errName);
    return c;
}

// The last non-empty line of a text.
std::string lastLine(const std::string& text)
{
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
        t.pop_back();
    const auto nl = t.rfind('\n');
    return nl == std::string::npos ? t : t.substr(nl + 1);
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* app = std::getenv("KTV_APP_DIR");
        ASSERT_NE(app, nullptr);
        for (const char* t : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"})
            fs::copy_file(fs::path(app) / t, dir.path() / t);
    }
    test::TempDir dir;
};

} // namespace

TEST(CliArgs, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(runCli({}).status, 2);
    EXPECT_EQ(runCli({"frobnicate"}).status, 2);
    EXPECT_EQ(
        runCli({"convert", "--type", "XYZ", "--source", "a", "--company", "1", "--year", "2005"}).status, 2);
    EXPECT_EQ(runCli({"convert", "--type", "KTD"}).status, 2);
    EXPECT_EQ(runCli({"sample", "--type", "KTD", "--out", "x", "--records", "-5"}).status, 2);
    EXPECT_EQ(runCli({"dump", "--table", "T"}).status, 2);
    EXPECT_EQ(runCli({"convert", "--bogus"}).status, 2);
    EXPECT_EQ(runCli({"convert", "--type", "KTD", "--source", "a", "--company", "1", "--year", "2005",
                      "--name", std::string(51, 'x')})
                  .status,
              2);
}

namespace {

struct CommandHelp {
    const char* name;
    const char* command;
};

void PrintTo(const CommandHelp& row, std::ostream* os) { *os << row.name; }

const CommandHelp kCommands[] = {
    {"Convert", "convert"},
    {"Sample", "sample"},
    {"Protect", "protect"},
    {"Dump", "dump"},
};

class CommandHelpRows : public ::testing::TestWithParam<CommandHelp> {};

} // namespace

TEST_P(CommandHelpRows, ShowTheCommandsUsage)
{
    const char* cmd = GetParam().command;
    const auto help = runCli({cmd, "--help"});
    EXPECT_EQ(help.status, 0) << cmd;
    EXPECT_NE(help.out.find("Usage: ktvedaz-cli " + std::string(cmd)), std::string::npos) << cmd;
}

INSTANTIATE_TEST_SUITE_P(CliArgs, CommandHelpRows, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CliArgs, CsvQuotingFollowsRfc4180)
{
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("O\"Neil"), "\"O\"\"Neil\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
}

TEST_F(CliTest, SampleConvertReportAndSecondRun)
{
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "300", "--seed", "5"}).status, 0);
    EXPECT_THROW(dao::Database::OpenDatabase(src), Error) << "samples are protected";

    const std::string json = dir.file("rapor.json");
    const auto first = runCli({"convert", "--type", "KTD", "--source", src, "--company", "3", "--year",
                               "2005", "--name", "Örnek Gıda", "--root", dir.str(), "--report", json});
    ASSERT_EQ(first.status, 0);
    EXPECT_NE(first.out.find("AracKarti"), std::string::npos);
    const std::string report = test::readFile(json);
    EXPECT_NE(report.find("\"table\": \"StokKarti\""), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.path() / "DATA/3/2005/KTFIM.mdb"));

    // Without --name the registered name stays.
    ASSERT_EQ(runCli({"convert", "--type", "KTD", "--source", src, "--company", "3", "--year", "2005",
                      "--root", dir.str(), "--report", json})
                  .status,
              0);
    EXPECT_NE(test::readFile(json).find("\"added\": 0"), std::string::npos);
    const auto dump = runCli({"dump", dir.str() + "/DATA/SABIT.mdb", "--table", "FirmaBilgi"});
    EXPECT_NE(dump.out.find("Örnek Gıda"), std::string::npos) << dump.out;
}

TEST_F(CliTest, SamplesAreDeterministicAndHoldTheAwkwardCases)
{
    const std::string a = dir.file("a.pvd"), b = dir.file("b.pvd");
    ASSERT_EQ(runCli({"sample", "--type", "PVD", "--out", a, "--records", "120", "--seed", "9"}).status, 0);
    ASSERT_EQ(runCli({"sample", "--type", "PVD", "--out", b, "--records", "120", "--seed", "9"}).status, 0);
    for (const char* table : {"AracKarti", "CariKart", "StokKarti"}) {
        const auto da = runCli({"dump", a, "--password", "7183", "--table", table});
        const auto db = runCli({"dump", b, "--password", "7183", "--table", table});
        ASSERT_EQ(da.status, 0);
        EXPECT_EQ(da.out, db.out) << table;
    }
    const auto stock = runCli({"dump", a, "--password", "7183", "--table", "StokKarti"}).out;
    EXPECT_NE(stock.find("Ara Ürün"), std::string::npos);
    EXPECT_NE(stock.find("Hizmet"), std::string::npos);
    EXPECT_NE(stock.find("STKO'NEIL"), std::string::npos);
    const auto accounts = runCli({"dump", a, "--password", "7183", "--table", "CariKart"}).out;
    EXPECT_NE(accounts.find("Çalışıyor"), std::string::npos);
}

TEST_F(CliTest, DryRunWritesNothing)
{
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "50"}).status, 0);
    const auto dry = runCli({"convert", "--type", "KTD", "--source", src, "--company", "4", "--year", "2006",
                             "--root", dir.str(), "--dry-run"});
    ASSERT_EQ(dry.status, 0);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA"));
    EXPECT_NE(dry.out.find("would write"), std::string::npos);
}

// Codes that collide once cut to 10 come from the smallest samples on: in every table of a
// sample of three records the third card's key is the second's.
TEST_F(CliTest, ASampleOfThreeRecordsHoldsCodesThatCollideOnceCut)
{
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "3"}).status, 0);
    ASSERT_EQ(runCli({"convert", "--type", "KTD", "--source", src, "--company", "4", "--year", "2006",
                      "--root", dir.str(), "--dry-run", "--report", dir.file("r.json")})
                  .status,
              0);
    const std::string report = test::readFile(dir.file("r.json"));
    std::size_t present = 0;
    for (auto at = report.find("\"present\": 1,"); at != std::string::npos;
         at = report.find("\"present\": 1,", at + 1))
        ++present;
    EXPECT_EQ(present, 3u) << report;
}

TEST_F(CliTest, FailuresExitWithOneAndProtectGuardsAFile)
{
    EXPECT_EQ(runCli({"convert", "--type", "KTD", "--source", dir.file("yok.ktd"), "--company", "1", "--year",
                      "2005", "--root", dir.str()})
                  .status,
              1);

    // A plain SQLite file with a source table becomes a protected source.
    const std::string plain = dir.file("plain.ktd");
    sqlite3* db = nullptr;
    sqlite3_open(plain.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE AracKarti (Kod TEXT, Isim TEXT, Plaka TEXT); INSERT INTO AracKarti VALUES "
                 "('K1','İsim','P');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(runCli({"protect", plain, "--password", "7183"}).status, 0);
    EXPECT_EQ(runCli({"dump", plain, "--table", "AracKarti"}).status, 1);
    EXPECT_EQ(runCli({"dump", plain, "--password", "0000", "--table", "AracKarti"}).status, 1);
    const auto ok = runCli({"dump", plain, "--password", "7183", "--table", "AracKarti"});
    ASSERT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "Kod,Isim,Plaka\r\nK1,İsim,P\r\n");
    EXPECT_EQ(runCli({"protect", dir.file("nothere.db"), "--password", "1"}).status, 1);
}

TEST_F(CliTest, DumpReadsJetSourcesWithTheirPasswordAndCodePage)
{
    const std::string folder = std::string(std::getenv("KTV_SOURCE_DIR")) + "/tests/data/jet_files/";
    for (const char* name : {"testV1997-cp1254.mdb", "password_V2003_with-password.mdb"})
        fs::copy_file(folder + name, dir.path() / name);

    const auto turkish = runCli({"dump", dir.file("testV1997-cp1254.mdb"), "--table", "Table1"});
    ASSERT_EQ(turkish.status, 0);
    EXPECT_NE(turkish.out.find("hıŞğçöüşİ"), std::string::npos) << turkish.out;

    const std::string protectedFile = dir.file("password_V2003_with-password.mdb");
    EXPECT_EQ(runCli({"dump", protectedFile, "--table", "Table1"}).status, 1);
    EXPECT_EQ(runCli({"dump", protectedFile, "--password", "yanlis", "--table", "Table1"}).status, 1);
    const auto ok = runCli({"dump", protectedFile, "--password", "password", "--table", "Table1"});
    ASSERT_EQ(ok.status, 0);
    EXPECT_NE(ok.out.find("One"), std::string::npos);
    EXPECT_NE(ok.out.find("Two"), std::string::npos);

    // convert opens Jet sources the same way: a protected one needs the source password, and
    // an unprotected one opens and then lacks the card tables.
    const std::vector<std::string> convert = {"convert", "--type", "KTD",    "--company", "1",
                                              "--year",  "2005",   "--root", dir.str(),   "--source"};
    auto with = [&](const std::string& source) {
        auto args = convert;
        args.push_back(source);
        return args;
    };
    EXPECT_EQ(runCli(with(protectedFile)).status, 1);
    fs::copy_file(folder + "password_V2003_no-password.mdb", dir.path() / "open.pvd");
    EXPECT_EQ(runCli(with(dir.file("open.pvd"))).status, 1);
    EXPECT_TRUE(fs::exists(dir.path() / "DATA/1/2005/KTFIM.mdb")) << "the company was recorded first";
}

namespace {

// Only the wizard's own choices become folder names.
struct FolderChoice {
    const char* name;
    const char* company;
    const char* year;
};

void PrintTo(const FolderChoice& row, std::ostream* os) { *os << row.name; }

const FolderChoice kRefusedChoices[] = {
    {"Company_Blank", "   ", "2005"},
    {"Company_PathOutside", "../x", "2005"},
    {"Company_Zero", "0", "2005"},
    {"Company_AboveTwenty", "21", "2005"},
    {"Company_LeadingZero", "05", "2005"},
    {"Company_Signed", "+3", "2005"},
    {"Company_TrailingSpace", "3 ", "2005"},
    {"Company_Exponent", "1e1", "2005"},
    {"Year_Blank", "3", " "},
    {"Year_Before2000", "3", "1999"},
    {"Year_After2010", "3", "2011"},
    {"Year_PathOutside", "3", "../../tmp"},
    {"Year_TrailingLetter", "3", "2005x"},
};

class RefusedChoiceRows : public CliTest, public ::testing::WithParamInterface<FolderChoice> {};

} // namespace

TEST_P(RefusedChoiceRows, AreUsageErrorsAndNothingIsWritten)
{
    const FolderChoice& c = GetParam();
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "20"}).status, 0);
    EXPECT_EQ(runCli({"convert", "--type", "KTD", "--source", src, "--company", c.company, "--year", c.year,
                      "--root", dir.str()})
                  .status,
              2)
        << "'" << c.company << "' '" << c.year << "'";
    EXPECT_FALSE(fs::exists(dir.path() / "DATA")) << "nothing was written on a usage error";
}

INSTANTIATE_TEST_SUITE_P(CliTest, RefusedChoiceRows, ::testing::ValuesIn(kRefusedChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, CompanyYearAndReportAreCheckedBeforeAnythingIsWritten)
{
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "20"}).status, 0);
    auto convert = [&](const std::string& company, const std::string& year, const std::string& report = "") {
        std::vector<std::string> args = {"convert", "--type", "KTD", "--source", src,      "--company",
                                         company,   "--year", year,  "--root",   dir.str()};
        if (!report.empty()) {
            args.push_back("--report");
            args.push_back(report);
        }
        return runCli(args).status;
    };
    EXPECT_EQ(convert("3", "2005", dir.file("no/such/folder/r.json")), 2);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA")) << "nothing was written on a usage error";
    EXPECT_EQ(convert("20", "2010", dir.file("r.json")), 0);
    EXPECT_EQ(convert("1", "2000"), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "DATA/20/2010/KTFIM.mdb"));
}

TEST_F(CliTest, TheReasonOfAFailedOpenIsTheLastErrorAndADamagedTemplateIsNotCopied)
{
    const std::string src = dir.file("ornek.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", src, "--records", "20"}).status, 0);
    const std::string good = test::readFile(dir.file("KTFIM.mdx"));
    test::writeFile(dir.file("KTFIM.mdx"), good.substr(0, good.size() / 3));
    const std::vector<std::string> args = {"convert", "--type", "KTD",  "--source", src,      "--company",
                                           "2",       "--year", "2004", "--root",   dir.str()};
    const auto failed = runCli(args);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(lastLine(failed.err).find("error 3343"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.err.find("error 91"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.err.find("tamamlandı"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "DATA/2/2004/KTFIM.mdb"));
    // Once the template is restored the rerun completes without any hand work.
    test::writeFile(dir.file("KTFIM.mdx"), good);
    EXPECT_EQ(runCli(args).status, 0);
    const auto cards = runCli({"dump", dir.str() + "/DATA/2/2004/KTFIM.mdb", "--table", "AracKarti"});
    // 20 records: the header and 19 cards, as the second code collides with the first once cut.
    EXPECT_EQ(std::count(cards.out.begin(), cards.out.end(), '\n'), 20) << cards.out;
}

TEST_F(CliTest, ProtectRefusesAPasswordTheConnectStringWouldSplit)
{
    const std::string file = dir.file("f.db");
    dao::CreateDatabase(file, "TABLE T\n  A TEXT(5)\n");
    EXPECT_EQ(runCli({"protect", file, "--password", "a;pwd=b"}).status, 1);
    EXPECT_EQ(runCli({"dump", file, "--table", "T"}).status, 0)
        << "the file is unchanged and opens as before";
    EXPECT_EQ(runCli({"protect", file, "--password", "a=b c"}).status, 0);
    EXPECT_EQ(runCli({"dump", file, "--password", "a=b c", "--table", "T"}).status, 0);
}

TEST_F(CliTest, DumpWritesAValueHoldingANulWhole)
{
    const std::string file = dir.file("nul.db");
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(
        db, "CREATE TABLE T (Ad TEXT, No INTEGER); INSERT INTO T VALUES (CAST(x'4179007365' AS TEXT), 7);",
        nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(runCli({"protect", file, "--password", ""}).status, 0);
    const auto dump = runCli({"dump", file, "--table", "T"});
    ASSERT_EQ(dump.status, 0);
    const char expected[] = "Ad,No\r\nAy\0se,7\r\n";
    EXPECT_EQ(dump.out, std::string(expected, sizeof expected - 1));
}

TEST_F(CliTest, ARunWhoseSaveFailsExitsWithOneAndItsReportSaysWhatWasNotStored)
{
    const std::string small = dir.file("small.ktd"), big = dir.file("big.ktd");
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", small, "--records", "5", "--seed", "1"}).status, 0);
    ASSERT_EQ(runCli({"sample", "--type", "KTD", "--out", big, "--records", "800", "--seed", "2"}).status, 0);
    const std::vector<std::string> base = {"convert", "--type", "KTD",    "--company", "1",
                                           "--year",  "2005",   "--root", dir.str(),   "--source"};
    auto with = [&](const std::string& source, const std::string& report) {
        auto args = base;
        args.push_back(source);
        args.push_back("--report");
        args.push_back(report);
        return args;
    };
    ASSERT_EQ(runCli(with(small, dir.file("first.json"))).status, 0);
    const std::string target = dir.str() + "/DATA/1/2005/KTFIM.mdb";
    // The year database cannot grow: as on a full disk.
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = fs::file_size(target) + 8192;
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        _exit(runCli(with(big, dir.file("failed.json"))).status);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string report = test::readFile(dir.file("failed.json"));
    EXPECT_NE(report.find("\"error\": {\"number\": "), std::string::npos) << report;
    // Everything stored before is intact, and the rerun with room completes.
    ASSERT_EQ(runCli(with(big, dir.file("rerun.json"))).status, 0);
    const auto cards = runCli({"dump", target, "--table", "AracKarti"});
    EXPECT_GT(std::count(cards.out.begin(), cards.out.end(), '\n'), 700);
}

namespace {

// A source of stock cards written by another SQLite tool: each row's values as SQL literals.
std::string stockSource(const test::TempDir& dir, const std::vector<std::string>& rows)
{
    const std::string path = dir.file("stok.ktd");
    dao::CreateDatabase(path, kSourceTablesSchema, "7183");
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    for (const auto& row : rows)
        EXPECT_EQ(
            sqlite3_exec(db, ("INSERT INTO StokKarti (Tip, Kod, Katsayi, KDV) VALUES (" + row + ")").c_str(),
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
    sqlite3_close(db);
    return path;
}

} // namespace

// The number format is the user's unless --number-format names another; the report says which.
TEST_F(CliTest, NumbersFollowTheNamedNumberFormat)
{
    const std::string src = stockSource(dir, {"'Ürün', 'S1', '3,5', '7,5'"});
    struct Case {
        const char* locale;
        const char* katsayi;
        const char* kdv;
        const char* reported;
    };
    for (const Case& c : {Case{"tr_TR", "4", "8", "\"locale\": \"tr_TR\", \"decimal\": \",\""},
                          Case{"C", "35", "75", "\"locale\": \"C\", \"decimal\": \".\""}}) {
        fs::remove_all(dir.path() / "DATA");
        const auto run =
            runCli({"convert", "--type", "KTD", "--source", src, "--company", "1", "--year", "2005", "--root",
                    dir.str(), "--number-format", c.locale, "--report", dir.file("r.json")});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(test::readFile(dir.file("r.json")).find(c.reported), std::string::npos) << c.locale;
        const auto cards = runCli({"dump", dir.str() + "/DATA/1/2005/KTFIM.mdb", "--table", "StokKart"}).out;
        EXPECT_NE(cards.find(std::string(",S1,")), std::string::npos) << cards;
        EXPECT_NE(cards.find(std::string(",") + c.katsayi + ","), std::string::npos) << c.locale << cards;
        EXPECT_NE(cards.find(std::string(",") + c.kdv + ","), std::string::npos) << c.locale << cards;
    }
    EXPECT_EQ(runCli({"convert", "--type", "KTD", "--source", src, "--company", "1", "--year", "2005",
                      "--root", dir.str(), "--number-format", "tr-TR"})
                  .status,
              2);
}

// A value the real run fails on fails the dry run the same way, and the report of either is
// valid UTF-8 although the failing record's code was stored in Windows-1254.
TEST_F(CliTest, DryRunFailsWhereTheRealRunFailsAndTheReportStaysUtf8)
{
    const std::string src =
        stockSource(dir, {"'Ürün', 'S1', '1', '18'", "'Ürün', X'C7414B31', '1', '99999'"});
    for (const bool dry : {true, false}) {
        std::vector<std::string> args = {
            "convert", "--type", "KTD",    "--source", src,        "--company",       "1",
            "--year",  "2005",   "--root", dir.str(),  "--report", dir.file("r.json")};
        if (dry)
            args.push_back("--dry-run");
        EXPECT_EQ(runCli(args).status, 1) << dry;
        const std::string report = test::readFile(dir.file("r.json"));
        EXPECT_TRUE(text::isValidUtf8(report)) << report;
        EXPECT_NE(report.find("\"number\": 6,"), std::string::npos) << report;
        EXPECT_NE(report.find("'ÇAK1'"), std::string::npos) << report;
        EXPECT_EQ(fs::exists(dir.path() / "DATA"), !dry);
    }
}
