// The error report's exact text and its two endings; the program folder and folder creation.
#include "app/AppPath.h"
#include "app/ReportError.h"
#include "platform/core/MessageBox.h"
#include "platform/core/MousePointer.h"
#include "platform/core/ProgramExit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace ktv;
namespace fs = std::filesystem;

TEST(ReportError, ExactSevenLineText)
{
    EXPECT_EQ(ErrorReportText(53, "File not found", "System: ReadWriteIni"),
              " HATA OLUSAN \r\n"
              "\r\n"
              " Program Adi    : KTVedaz\r\n"
              " Prosedur Adi   : System: ReadWriteIni\r\n"
              " Hata Kodu      : 53\r\n"
              " Hata Aciklamasi: \r\n"
              "File not found\r\n");
    EXPECT_NE(ErrorReportText(-2147467259, "x", "p").find(" Hata Kodu      : -2147467259\r\n"),
              std::string::npos);
}

TEST(ReportError, WithoutContinueTheProgramEndsAfterTheBox)
{
    test::ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok);
    test::ExitCatcher exitCatcher;
    bool hookRan = false;
    const auto hook = addExitHook([&] { hookRan = true; });
    EXPECT_THROW(ReportError(53, "File not found", "System: ReadWriteIni"), test::ProgramEnded);
    removeExitHook(hook);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Genel HATA");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(hookRan) << "pending writes are committed before the end";
}

TEST(ReportError, WithContinueTheCallerGoesOnWithTheNormalPointer)
{
    test::ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok);
    mousePointer().setPointer(Pointer::Hourglass);
    // Pending writes are committed before the box, not after the operator has read it.
    std::size_t boxesAtCommit = 99;
    const auto hook = addExitHook([&] { boxesAtCommit = boxes.shown.size(); });
    ReportError(3024, "Could not find file", "VeriTabani_Ac : 2", true);
    removeExitHook(hook);
    EXPECT_EQ(boxesAtCommit, 0u);
    EXPECT_EQ(mousePointer().pointer(), Pointer::Default);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(" Prosedur Adi   : VeriTabani_Ac : 2\r\n"), std::string::npos);
}

TEST(MessageBox, EveryBoxCommitsPendingWritesBeforeItIsShown)
{
    test::ScriptedMessageBoxes boxes;
    std::size_t boxesAtCommit = 99;
    const auto hook = addExitHook([&] { boxesAtCommit = boxes.shown.size(); });
    boxes.answer(MsgAnswer::Yes);
    MsgBox("Çevrim yapmak istiyor musunuz ?", MsgButtons::YesNo, MsgIcon::Question, "KTVedaz");
    removeExitHook(hook);
    EXPECT_EQ(boxesAtCommit, 0u);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST(ReportError, UnhandledErrorCommitsThenShowsTheBoxAndEnds)
{
    test::ScriptedMessageBoxes boxes;
    boxes.answer(MsgAnswer::Ok);
    test::ExitCatcher exitCatcher;
    int hookRuns = 0;
    const auto hook = addExitHook([&] { ++hookRuns; });
    try {
        ReportUnhandledError(3031, "Not a valid password.");
        FAIL();
    } catch (const test::ProgramEnded& e) {
        EXPECT_EQ(e.status, 1);
    }
    removeExitHook(hook);
    EXPECT_GE(hookRuns, 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "KTVedaz");
    EXPECT_NE(boxes.shown[0].text.find("3031"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("Not a valid password."), std::string::npos);
}

TEST(AppPath, TrailingSeparatorIsDroppedButTheRootStays)
{
    InitAppPath("/opt/ktv/");
    EXPECT_EQ(AppPath(), "/opt/ktv");
    InitAppPath("/");
    EXPECT_EQ(AppPath(), "/");
    EXPECT_EQ(GetShortName("/opt"), "");
    InitAppPath();
    EXPECT_FALSE(AppPath().empty());
    EXPECT_EQ(AppPath(), ExecutableFolder());
}

TEST(MakePath, CreatesEveryMissingLevelAndRestoresTheCurrentFolder)
{
    test::TempDir dir;
    const auto before = fs::current_path();
    fs::create_directory(dir.path() / "DATA");
    EXPECT_TRUE(MakePath(dir.str() + "/DATA/3/2005"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "DATA/3/2005"));
    EXPECT_EQ(fs::current_path(), before);

    EXPECT_TRUE(MakePath(dir.str() + "/DATA/3/2005/"));
    EXPECT_TRUE(MakePath(dir.str() + "/DATA/3/2005"));

    // A level that cannot be made is left missing without a report.
    test::writeFile(dir.file("file"), "x");
    EXPECT_TRUE(MakePath(dir.str() + "/file/sub"));
    EXPECT_FALSE(fs::exists(dir.path() / "file/sub"));
    EXPECT_EQ(fs::current_path(), before);
}

TEST(MakePath, RelativePathsAreMadeBelowTheCurrentFolder)
{
    test::TempDir dir;
    const auto before = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_TRUE(MakePath("DATA/3/2005"));
    EXPECT_TRUE(MakePath("x"));
    const auto after = fs::current_path();
    fs::current_path(before);
    EXPECT_EQ(after, dir.path());
    EXPECT_TRUE(fs::is_directory(dir.path() / "DATA/3/2005"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "x"));
    EXPECT_FALSE(fs::exists(dir.path() / "DATA/3/2005/3"));
}
