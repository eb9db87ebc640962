// The built programs run as an operator runs them: their exit status, what they print on
// stdout and stderr, what they write and leave alone, on a terminal and under a umask.
#include "cli/ProgressLine.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ktv;
namespace fs = std::filesystem;

namespace {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

struct ToolOptions {
    std::string cwd;
    const char* stdoutTo = nullptr; // a file to write stdout to instead of capturing it
    bool terminal = false;          // stderr is a pseudo-terminal
    mode_t umask = 022;
};

// Runs a program of the program folder; argv[0] names it ("ktvedaz-cli", "ktvedaz").
ToolResult runTool(const std::vector<std::string>& argv, const ToolOptions& o = {})
{
    const std::string program = std::string(std::getenv("KTV_APP_DIR")) + "/" + argv[0];
    char outName[] = "/tmp/ktvtoolout.XXXXXX";
    char errName[] = "/tmp/ktvtoolerr.XXXXXX";
    ::close(::mkstemp(outName));
    ::close(::mkstemp(errName));
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int master = -1;
    const pid_t pid = o.terminal ? ::forkpty(&master, nullptr, nullptr, nullptr) : ::fork();
    if (pid == 0) {
        ::umask(o.umask);
        if (!o.cwd.empty() && ::chdir(o.cwd.c_str()) != 0)
            _exit(126);
        ::dup2(::open(o.stdoutTo ? o.stdoutTo : outName, O_WRONLY), 1);
        if (!o.terminal)
            ::dup2(::open(errName, O_WRONLY), 2);
        ::execv(program.c_str(), args.data());
        _exit(127);
    }
    ToolResult r;
    if (master >= 0) {
        char buf[4096];
        for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR);)
            if (n > 0)
                r.err.append(buf, static_cast<std::size_t>(n));
        ::close(master);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = test::readFile(outName);
    if (master < 0)
        r.err = test::readFile(errName);
    ::unlink(outName);
    ::unlink(errName);
    return r;
}

class ToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_source = new test::TempDir;
        ASSERT_EQ(runTool({"ktvedaz-cli", "sample", "--type", "KTD", "--out", s_source->file("ornek.ktd"),
                           "--records", "20"})
                      .status,
                  0);
    }
    static void TearDownTestSuite()
    {
        delete s_source;
        s_source = nullptr;
    }
    // A program folder with the templates and a source; beside them a file named like an
    // option, a read-only file, a file that is no database, a symbolic link to a report, a
    // program folder whose year database template is damaged, and the devices "null" and
    // "full": nodes of their own where the tests may make them (as root), so a tool that
    // wrongly replaced a device would never replace the machine's /dev/null; links to
    // them otherwise.
    void SetUp() override
    {
        const fs::path app = std::getenv("KTV_APP_DIR");
        fs::create_directories(dir.path() / "broken");
        for (const char* t : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"}) {
            fs::copy_file(app / t, dir.path() / t);
            fs::copy_file(app / t, dir.path() / "broken" / t);
        }
        test::writeFile(dir.file("broken/KTFIM.mdx"), "bozuk");
        fs::copy_file(s_source->file("ornek.ktd"), dir.file("ornek.ktd"));
        fs::copy_file(s_source->file("ornek.ktd"), dir.file("--ornek.ktd"));
        test::writeFile(dir.file("ro.json"), "{}");
        fs::permissions(dir.file("ro.json"), fs::perms::owner_read | fs::perms::group_read);
        test::writeFile(dir.file("junk.ktd"), "not a database");
        fs::create_symlink("target.json", dir.file("link.json"));
        for (const auto& [name, minor] : {std::pair{"null", 3}, std::pair{"full", 7}}) {
            const std::string node = dir.file(name);
            const int fd = ::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, minor)) == 0
                               ? ::open(node.c_str(), O_WRONLY) // fails on a volume mounted nodev
                               : -1;
            if (fd >= 0) {
                ::close(fd);
                continue;
            }
            fs::remove(node);
            fs::create_symlink(std::string("/dev/") + name, node);
        }
    }
    // Runs in the row's folder, with "{dir}" in an argument standing for it.
    ToolResult run(std::vector<std::string> argv, ToolOptions options = {})
    {
        for (auto& a : argv)
            if (const auto at = a.find("{dir}"); at != std::string::npos)
                a.replace(at, 5, dir.str());
        options.cwd = dir.str();
        return runTool(argv, options);
    }
    test::TempDir dir;
    static test::TempDir* s_source;
};

test::TempDir* ToolTest::s_source = nullptr;

struct ToolRow {
    const char* name;
    std::vector<std::string> argv; // "{dir}" stands for the row's folder
    int status;
    const char* errHas = "";
    const char* outHas = "";
    const char* errLacks = nullptr;
    const char* outLacks = nullptr;
    bool dataWritten = false; // whether DATA exists afterwards
    const char* stdoutTo = nullptr;
};

void PrintTo(const ToolRow& row, std::ostream* os) { *os << row.name; }

#define CONVERT                                                                                              \
    "ktvedaz-cli", "convert", "--type", "KTD", "--company", "3", "--year", "2005", "--root", "{dir}"
#define DUMP "ktvedaz-cli", "dump", "{dir}/ornek.ktd", "--password", "7183", "--table", "AracKarti"

const ToolRow kRows[] = {
    {"Version",
     {"ktvedaz-cli", "--version"},
     0,
     "",
     "ktvedaz-cli 4.0\nLicense GPLv3+: GNU GPL version 3 or later"},
    {"WizardVersion",
     {"ktvedaz", "--version"},
     0,
     "",
     "ktvedaz 4.0\nLicense GPLv3+: GNU GPL version 3 or later"},
    {"HelpOfACommand", {"ktvedaz-cli", "help", "convert"}, 0, "", "Usage: ktvedaz-cli convert"},
    {"HelpOfAnUnknownCommand", {"ktvedaz-cli", "help", "frob"}, 2, "unknown command 'frob'"},
    {"UsageErrorShowsTheCommandsUsage",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--type", "XYZ"},
     2,
     "\n\nUsage: ktvedaz-cli convert",
     "",
     "Commands:"},
    {"UnknownOption",
     {"ktvedaz-cli", "sample", "--bogus"},
     2,
     "unknown option --bogus\n\nUsage: ktvedaz-cli sample"},
    {"MissingValue", {DUMP, "--table"}, 2, "--table needs a value\n\nUsage: ktvedaz-cli dump"},
    {"OptionGivenTwice", {DUMP, "--table", "CariKart"}, 2, "--table given twice"},
    {"DoubleDashEndsTheOptions",
     {"ktvedaz-cli", "dump", "--password", "7183", "--table", "AracKarti", "--", "--ornek.ktd"},
     0,
     "",
     "Kod,Isim,Plaka\r\n"},
    {"NameLikeAnOptionWithoutDoubleDash",
     {"ktvedaz-cli", "dump", "--password", "7183", "--table", "AracKarti", "--ornek.ktd"},
     2,
     "unknown option --ornek.ktd"},
    {"DumpToAFullDisk",
     {DUMP},
     1,
     "error 75: cannot write to standard output: No space left on device",
     "",
     nullptr,
     nullptr,
     false,
     "/dev/full"},
    {"HelpToAFullDisk",
     {"ktvedaz-cli", "help"},
     1,
     "cannot write to standard output",
     "",
     nullptr,
     nullptr,
     false,
     "/dev/full"},
    {"ReportToStdoutStandsAlone",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "-"},
     0,
     "",
     "{\n  \"dryRun\": false,",
     nullptr,
     "target: ",
     true},
    {"ReportToDevNull",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "{dir}/null"},
     0,
     "",
     "",
     nullptr,
     nullptr,
     true},
    {"ReportToAFullDevice",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "{dir}/full"},
     1,
     "full: No space left on device",
     "",
     nullptr,
     nullptr,
     true},
    {"ReportNamedEmpty",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", ""},
     2,
     "--report needs a file name"},
    {"ReportIsAFolder", {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "{dir}"}, 2, "is a folder"},
    {"ReportIsReadOnly",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "{dir}/ro.json"},
     2,
     "ro.json' cannot be written"},
    {"ReportFolderMissing",
     {CONVERT, "--source", "{dir}/ornek.ktd", "--report", "{dir}/yok/r.json"},
     2,
     "/yok' does not exist"},
    {"SampleFolderMissing",
     {"ktvedaz-cli", "sample", "--type", "KTD", "--out", "{dir}/yok/x.ktd", "--records", "5"},
     2,
     "the folder '",
     "",
     "exclusively"},
    {"SourceMissing", {CONVERT, "--source", "{dir}/yok.ktd"}, 1, "error 3024"},
    {"SourceFolderMissing", {CONVERT, "--source", "{dir}/yok/a.ktd"}, 1, "/yok' does not exist"},
    {"SourceIsNoDatabase", {CONVERT, "--source", "{dir}/junk.ktd"}, 1, "ktvedaz-cli: error "},
    {"AFailureIsOneLine",
     {"ktvedaz-cli", "convert", "--type", "KTD", "--company", "3", "--year", "2005", "--root", "{dir}/broken",
      "--source", "{dir}/ornek.ktd"},
     1,
     "error 3343",
     "",
     "HATA"},
};

class ToolRows : public ToolTest, public ::testing::WithParamInterface<ToolRow> {};

} // namespace

TEST_P(ToolRows, ExitStatusAndOutput)
{
    const ToolRow& row = GetParam();
    ToolOptions options;
    options.stdoutTo = row.stdoutTo;
    const ToolResult r = run(row.argv, options);
    EXPECT_EQ(r.status, row.status) << r.err;
    EXPECT_NE(r.err.find(row.errHas), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(row.outHas), std::string::npos) << r.out;
    if (row.errLacks) {
        EXPECT_EQ(r.err.find(row.errLacks), std::string::npos) << r.err;
    }
    if (row.outLacks) {
        EXPECT_EQ(r.out.find(row.outLacks), std::string::npos) << r.out;
    }
    if (r.status == 1) { // a failure is told in one line (beside the completion message of a run)
        const std::string done = "Çevrim işlemi tamamlandı...\n";
        std::string told = r.err;
        if (const auto at = told.find(done); at != std::string::npos)
            told.erase(at, done.size());
        EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << r.err;
        EXPECT_EQ(told.rfind("ktvedaz-cli: error ", 0), 0u) << r.err;
    }
    EXPECT_EQ(fs::exists(dir.path() / "DATA"), row.dataWritten) << r.err;
    // Nothing is put in the place of a device or a link.
    EXPECT_TRUE(fs::is_character_file(dir.file("full")));
    EXPECT_TRUE(fs::is_character_file(dir.file("null")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.json")));
    EXPECT_EQ(fs::status(dir.file("ro.json")).permissions() & fs::perms::owner_write, fs::perms::none);
}

INSTANTIATE_TEST_SUITE_P(Tool, ToolRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolTest, AReportThroughALinkReachesItsTarget)
{
    ASSERT_EQ(run({CONVERT, "--source", "ornek.ktd", "--report", "link.json"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.json")));
    EXPECT_NE(test::readFile(dir.file("target.json")).find("\"table\": \"StokKarti\""), std::string::npos);
}

TEST_F(ToolTest, ProgressOnATerminalNamesTheTableAndIsClearedAtTheEnd)
{
    ToolOptions terminal;
    terminal.terminal = true;
    const std::string cleared = "\r\033[K";
    const auto sample =
        run({"ktvedaz-cli", "sample", "--type", "KTD", "--out", "t.ktd", "--records", "300"}, terminal);
    ASSERT_EQ(sample.status, 0) << sample.err;
    for (const char* table : {"AracKarti", "CariKart", "StokKarti"})
        EXPECT_NE(sample.err.find("\r" + cli::ProgressText(table, 300, 300)), std::string::npos)
            << sample.err;
    EXPECT_EQ(sample.err.substr(sample.err.size() - cleared.size()), cleared);

    const auto convert = run({CONVERT, "--source", "t.ktd"}, terminal);
    ASSERT_EQ(convert.status, 0) << convert.err;
    EXPECT_NE(convert.err.find("\r" + cli::ProgressText("StokKarti", 300, 300)), std::string::npos)
        << convert.err;
    EXPECT_NE(convert.err.find(cleared + "Çevrim işlemi tamamlandı..."), std::string::npos) << convert.err;
    EXPECT_EQ(cli::ProgressText("AracKarti", 15526, 100000000), "AracKarti      15526 / 100000000   0%");
}

namespace {

struct UmaskRow {
    const char* name;
    mode_t umask;
    unsigned mode;
};

void PrintTo(const UmaskRow& row, std::ostream* os) { *os << row.name; }

const UmaskRow kUmasks[] = {
    {"GroupWritable", 002, 0664},
    {"Usual", 022, 0644},
    {"Private", 077, 0600},
};

class UmaskRows : public ToolTest, public ::testing::WithParamInterface<UmaskRow> {};

} // namespace

TEST_P(UmaskRows, NewFilesHonourTheUmask)
{
    ToolOptions options;
    options.umask = GetParam().umask;
    for (const char* format : {"sqlite", "jet3"}) {
        const std::string out = std::string("s.") + format;
        const auto made = run(
            {"ktvedaz-cli", "sample", "--type", "KTD", "--format", format, "--out", out, "--records", "3"},
            options);
        ASSERT_EQ(made.status, 0) << made.err;
    }
    ASSERT_EQ(run({CONVERT, "--source", "ornek.ktd", "--report", "r.json"}, options).status, 0);
    for (const char* file : {"s.sqlite", "s.jet3", "r.json", "DATA/SABIT.mdb", "DATA/3/2005/KTFIM.mdb",
                             "DATA/3/2005/KTCHM.mdb"}) {
        struct stat st {};
        ASSERT_EQ(::stat(dir.file(file).c_str(), &st), 0) << file;
        EXPECT_EQ(st.st_mode & 0777, GetParam().mode) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Tool, UmaskRows, ::testing::ValuesIn(kUmasks),
                         [](const auto& info) { return std::string(info.param.name); });
