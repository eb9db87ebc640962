// The wizard with a settings file it cannot use: something that is no settings file at all
// (a FIFO, a device, a huge file, a folder) and a file the operator made read-only.
#include "WizardFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include <filesystem>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace ktv::test {
namespace {

namespace fs = std::filesystem;

struct NoSettingsFile {
    const char* name;
    void (*make)(const std::string& path);
};

void PrintTo(const NoSettingsFile& row, std::ostream* os) { *os << row.name; }

const NoSettingsFile kNoSettingsFiles[] = {
    // Opening a FIFO to read waits for a writer; none comes.
    {"Fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
    // Reads without end.
    {"DevZero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
    // 2 GB of nothing, on disk in no time; read whole it would take the memory.
    {"HugeSparseFile",
     [](const std::string& p) {
         writeFile(p, "[CEVRIM]\r\nKLASOR=/x\r\n");
         ASSERT_EQ(::truncate(p.c_str(), off_t(2) << 30), 0);
     }},
    {"Folder", [](const std::string& p) { fs::create_directory(p); }},
};

class SettingsFileThatIsNone : public WizardTest, public ::testing::WithParamInterface<NoSettingsFile> {};

TEST_P(SettingsFileThatIsNone, ReadsAsEmptyWithOneReportAndIsNeverReplaced)
{
    GetParam().make(iniPath);
    boxes.answer(MsgAnswer::Ok); // one report for the three keys read at load and activation
    open();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Genel HATA");
    EXPECT_NE(boxes.shown[0].text.find("System: ReadWriteIni"), std::string::npos);
    EXPECT_EQ(c().Txt_Klasor->text(), "");

    // Writing would lose what stands there: refused with one report, the settings stay unsaved.
    const auto type = fs::symlink_status(iniPath).type();
    choose(c().Cbo_KtdPvd, 1);
    boxes.answer(MsgAnswer::Ok);
    click(c().Cmd_Ileri);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_FALSE(form->SettingsSaved());
    EXPECT_EQ(fs::symlink_status(iniPath).type(), type);
}

INSTANTIATE_TEST_SUITE_P(Wizard, SettingsFileThatIsNone, ::testing::ValuesIn(kNoSettingsFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, AReadOnlySettingsFileIsReportedOnceAndStaysUnsaved)
{
    writeSettings("/eski", "a.ktd", "0");
    const std::string before = settings();
    ASSERT_EQ(::chmod(iniPath.c_str(), 0444), 0);
    open();
    choose(c().Cbo_KtdPvd, 1);
    boxes.answer(MsgAnswer::Ok);
    click(c().Cmd_Ileri);
    ASSERT_EQ(boxes.shown.size(), 1u) << "one report for the three keys";
    EXPECT_EQ(boxes.shown[0].title, "Genel HATA");
    EXPECT_TRUE(c().Fra_2->isVisible());
    EXPECT_FALSE(form->SettingsSaved());

    boxes.answer(MsgAnswer::No);
    click(c().Cmd_Kapat1);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Yapılan Değişiklikleri Kaydetmek İster misiniz ?");
    EXPECT_EQ(settings(), before);
}

} // namespace
} // namespace ktv::test
