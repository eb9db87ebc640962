// The private-profile reader and writer: lookups, the writer's surgical edits, atomic
// replacement, and hostile files.
#include "platform/core/ProfileString.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Error.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ktv;
using ktv::test::readFile;
using ktv::test::writeFile;

namespace {

std::string get(const std::string& file, const std::string& sec, const std::string& key,
                std::size_t size = 255)
{
    return profile::GetPrivateProfileString(sec, key, "Failed", size, file);
}

} // namespace

TEST(ProfileString, ReadsKeysWithoutRegardToCaseAndTrimsValues)
{
    test::TempDir dir;
    const auto f = dir.file("a.ini");
    writeFile(f, "; comment\r\n[Other]\r\nKLASOR=wrong\r\n[cevrim]\r\n  klasor  =  /data/src  "
                 "\r\nDOSYA=\"quoted name\"\r\nEMPTY=\r\n");
    EXPECT_EQ(get(f, "CEVRIM", "KLASOR"), "/data/src");
    EXPECT_EQ(get(f, "CEVRIM", "DOSYA"), "quoted name");
    EXPECT_EQ(get(f, "CEVRIM", "EMPTY"), "");
    EXPECT_EQ(get(f, "CEVRIM", "MISSING"), "Failed");
    EXPECT_EQ(get(f, "NOSECTION", "KLASOR"), "Failed");
    EXPECT_EQ(get(dir.file("missing.ini"), "CEVRIM", "KLASOR"), "Failed");
}

TEST(ProfileString, ValueIsCutToTheCallersBuffer)
{
    test::TempDir dir;
    const auto f = dir.file("a.ini");
    writeFile(f, "[S]\nK=" + std::string(300, 'x') + "\nT=ğğğğ\n");
    EXPECT_EQ(get(f, "S", "K").size(), 254u);
    EXPECT_EQ(get(f, "S", "T", 3), "ğğ"); // characters, not bytes
}

TEST(ProfileString, WriterKeepsEveryOtherByteOfTheFile)
{
    test::TempDir dir;
    const auto f = dir.file("a.ini");
    const std::string before = "; the operator's notes\r\n\r\n[Other]\r\nX = 1 "
                               "\r\n\r\n[CEVRIM]\r\nKLASOR=/old\r\nDOSYA=a.ktd\r\n\r\n[Tail]\r\nY=2";
    writeFile(f, before);
    profile::WritePrivateProfileString("CEVRIM", "KLASOR", "/new", f);
    std::string expected = before;
    expected.replace(expected.find("KLASOR=/old"), 11, "KLASOR=/new");
    EXPECT_EQ(readFile(f), expected);

    // A new key goes after the last line of its section, before the blank line.
    profile::WritePrivateProfileString("CEVRIM", "KTDPVD", "1", f);
    expected.replace(expected.find("DOSYA=a.ktd\r\n") + 13, 0, "KTDPVD=1\r\n");
    EXPECT_EQ(readFile(f), expected);
}

TEST(ProfileString, NewFileListsKeysInWritingOrder)
{
    test::TempDir dir;
    const auto f = dir.file("new.ini");
    profile::WritePrivateProfileString("CEVRIM", "KLASOR", ".", f);
    profile::WritePrivateProfileString("CEVRIM", "DOSYA", "x.ktd", f);
    profile::WritePrivateProfileString("CEVRIM", "KTDPVD", "0", f);
    EXPECT_EQ(readFile(f), "[CEVRIM]\r\nKLASOR=.\r\nDOSYA=x.ktd\r\nKTDPVD=0\r\n");
}

TEST(ProfileString, LineBreaksInAValueCannotForgeNewKeys)
{
    test::TempDir dir;
    const auto f = dir.file("a.ini");
    profile::WritePrivateProfileString("CEVRIM", "KLASOR", "/a\r\nDOSYA=evil", f);
    EXPECT_EQ(get(f, "CEVRIM", "DOSYA"), "Failed");
    EXPECT_EQ(get(f, "CEVRIM", "KLASOR"), "/aDOSYA=evil");
}

TEST(ProfileString, LegacyCodePageFileIsDecoded)
{
    test::TempDir dir;
    const auto f = dir.file("a.ini");
    // "Çalışma" in Windows-1254
    writeFile(f, "[CEVRIM]\r\nKLASOR=C:\\\xC7\x61l\xFD\xFEma\r\n");
    EXPECT_EQ(get(f, "CEVRIM", "KLASOR"), "C:\\Çalışma");
}

TEST(ProfileString, HostileFilesNeitherCrashNorHang)
{
    test::TempDir dir;
    const auto f = dir.file("big.ini");
    std::string big = "[CEVRIM]\n";
    std::mt19937 rng(7);
    while (big.size() < profile::kMaxFileSize - 100)
        big += static_cast<char>(rng() & 0xFF);
    big += "\nKLASOR=end\n";
    writeFile(f, big);
    (void)get(f, "CEVRIM", "KLASOR");
    profile::WritePrivateProfileString("CEVRIM", "DOSYA", "z", f);
    EXPECT_EQ(get(f, "CEVRIM", "DOSYA"), "z");

    // Past the size no settings file reaches, the file is neither read nor replaced.
    const std::string tooBig = big + std::string(100, 'x');
    ASSERT_GT(tooBig.size(), profile::kMaxFileSize);
    writeFile(f, tooBig);
    EXPECT_THROW(get(f, "CEVRIM", "KLASOR"), Error);
    EXPECT_THROW(profile::WritePrivateProfileString("CEVRIM", "DOSYA", "z", f), Error);
    EXPECT_EQ(readFile(f), tooBig);

    const auto n = dir.file("nul.ini");
    writeFile(n, std::string("[CEVRIM]\nKLASOR=ab\0cd\nDOSYA=\xff\xfe\n", 30));
    EXPECT_EQ(get(n, "CEVRIM", "KLASOR"), "ab");
    EXPECT_FALSE(get(n, "CEVRIM", "DOSYA").empty());

    // A directory where the file should be: reads and writes fail cleanly.
    std::filesystem::create_directory(dir.file("dir.ini"));
    EXPECT_THROW(get(dir.file("dir.ini"), "CEVRIM", "KLASOR"), Error);
    EXPECT_THROW(profile::WritePrivateProfileString("CEVRIM", "K", "v", dir.file("dir.ini")), Error);

    // A file that is there but cannot be opened (here a loop of links; for an operator, one
    // without read permission) is not taken for a missing one: the writer would replace it
    // with its one key and lose every other.
    const auto loop = dir.file("loop.ini");
    std::filesystem::create_symlink(loop, loop);
    EXPECT_THROW(get(loop, "CEVRIM", "KLASOR"), Error);
    EXPECT_THROW(profile::WritePrivateProfileString("CEVRIM", "K", "v", loop), Error);
    EXPECT_TRUE(std::filesystem::is_symlink(loop));
}

// Inputs the fuzzer found, replayed: each time the written value must read back.
namespace {

struct BrokenFile {
    const char* name;
    std::string content;
};

void PrintTo(const BrokenFile& row, std::ostream* os) { *os << row.name; }

const BrokenFile kBrokenFiles[] = {
    // The section's last line ends in a lone CR at the end of the file.
    {"LastLineEndsInALoneCr", std::string("[CEVRIM]\r\nKL-ASOR=/home/a\r[CEVRIz]\nDO\r")},
    {"LinesEndInLoneCrs", std::string("[CEVRIM]\rKLASOR=x\r")},
    {"OnlyTheSectionName", std::string("[CEVRIM]")},
};

class BrokenFileRows : public ::testing::TestWithParam<BrokenFile> {};

} // namespace

TEST_P(BrokenFileRows, WrittenValuesReadBack)
{
    test::TempDir dir;
    const std::string f = dir.file("Vedaz.ini");
    writeFile(f, GetParam().content);
    profile::WritePrivateProfileString("CEVRIM", "KLASOR", "/home/kullanıcı", f);
    EXPECT_EQ(profile::GetPrivateProfileString("CEVRIM", "KLASOR", "Failed", 255, f), "/home/kullanıcı")
        << readFile(f);
}

INSTANTIATE_TEST_SUITE_P(ProfileString, BrokenFileRows, ::testing::ValuesIn(kBrokenFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// A settings file the operator made read-only is not replaced.
TEST(AtomicFile, AReadOnlyFileIsRefusedAndKept)
{
    test::TempDir dir;
    const std::string f = dir.file("Vedaz.ini");
    writeFile(f, "old");
    ASSERT_EQ(::chmod(f.c_str(), 0444), 0);
    EXPECT_THROW(writeFileAtomically(f, "new"), Error);
    EXPECT_EQ(readFile(f), "old");
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);
}

TEST(AtomicFile, InterruptedWriteLeavesTheOldFileIntact)
{
    test::TempDir dir;
    const auto f = dir.file("Vedaz.ini");
    writeFile(f, "[CEVRIM]\r\nKLASOR=/old\r\n");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The process dies after the new content is complete but before it replaces the file.
        writeFileAtomically(f, "[CEVRIM]\r\nKLASOR=/new\r\n", [] { _exit(9); });
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 9);
    EXPECT_EQ(readFile(f), "[CEVRIM]\r\nKLASOR=/old\r\n");

    writeFileAtomically(f, "fresh");
    EXPECT_EQ(readFile(f), "fresh");
}
