// Page 1: the type list, the folder dialog, the file list, the file pick and the change
// tracking that drives the save prompt.
#include "WizardFixture.h"

#include "ui/wizard/FileListBox.h"

#include <ostream>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace ktv::test {
namespace {

const char* const kTitle = "Çevrim Yapılacak Dosyaların Bulunduğu Klasör";

TEST_F(WizardTest, BrowseStartsAtTheFolderBoxOrTheFileSystemRoot)
{
    open();
    click(c().Cmd_KlasorBul);
    ASSERT_EQ(browser.calls.size(), 1u);
    EXPECT_EQ(browser.calls[0].title, kTitle);
    EXPECT_EQ(browser.calls[0].startFolder, QDir::rootPath().toStdString())
        << "empty box: the file system root";

    const std::string folder = makeFiles("kaynak", {});
    c().Txt_Klasor->setText(QString::fromStdString("  " + folder + " "));
    click(c().Cmd_KlasorBul);
    EXPECT_EQ(browser.calls[1].startFolder, folder) << "the trimmed folder text";
}

TEST_F(WizardTest, BrowseToAFolderListsItsFilesOfTheTypeWithNothingSelected)
{
    const std::string folder = makeFiles("kaynak", {"b.ktd", "a.ktd", "c.KTD", "d.pvd", "notlar.txt"});
    writeSettings(".", "a.ktd", "0");
    open();
    ASSERT_EQ(c().Cbo_KtdPvd->currentText(), "KTD");
    ASSERT_EQ(c().Txt_SecilenDosya->text(), "a.ktd");
    browser.answers.push_back(folder);
    click(c().Cmd_KlasorBul);
    EXPECT_EQ(c().Txt_Klasor->text().toStdString(), folder);
    EXPECT_EQ(listed(), (QStringList{"a.ktd", "b.ktd", "c.KTD"}));
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "");
    EXPECT_EQ(c().File1->ListIndex(), -1);
    EXPECT_FALSE(form->SettingsSaved());
}

TEST_F(WizardTest, CancelledBrowseClearsTheFileNameAndKeepsEarlierChangesUnsaved)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd"});
    writeSettings(folder, "a.ktd", "0");
    open();
    ASSERT_TRUE(form->SettingsSaved());
    click(c().Cmd_KlasorBul); // cancelled
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "");
    EXPECT_EQ(c().Txt_Klasor->text().toStdString(), folder);
    EXPECT_FALSE(form->SettingsSaved()) << "clearing the file name is a change";

    // A folder typed by hand stays a change to save when the dialog is cancelled afterwards.
    open();
    c().Txt_SecilenDosya->clear();
    click(c().Cmd_Ileri);
    click(c().Cmd_Geri);
    c().Txt_Klasor->setFocus();
    QTest::keyClick(c().Txt_Klasor, Qt::Key_End);
    QTest::keyClicks(c().Txt_Klasor, "x");
    click(c().Cmd_KlasorBul);
    EXPECT_FALSE(form->SettingsSaved());
}

TEST_F(WizardTest, TypeChangeRefreshesTheListAndLeavesTheFileBoxAlone)
{
    const std::string folder = makeFiles("kaynak", {"bir.ktd", "iki.pvd", "üç.pvd"});
    writeSettings(folder, "bir.ktd", "0");
    open();
    EXPECT_EQ(listed(), QStringList{"bir.ktd"});
    EXPECT_EQ(c().File1->ListIndex(), 0);

    choose(c().Cbo_KtdPvd, 1);
    EXPECT_EQ(listed(), (QStringList{"iki.pvd", "üç.pvd"}));
    EXPECT_EQ(c().File1->ListIndex(), -1);
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "bir.ktd");

    choose(c().Cbo_KtdPvd, 0);
    EXPECT_EQ(listed(), QStringList{"bir.ktd"});
    EXPECT_EQ(c().File1->ListIndex(), 0) << "the named file is selected again";
}

TEST_F(WizardTest, HandEditedFolderWaitsForTheTypeListOrTheDialog)
{
    const std::string first = makeFiles("bir", {"a.ktd"});
    const std::string second = makeFiles("iki", {"b.ktd", "c.ktd"});
    writeSettings(first, ".", "0");
    open();
    ASSERT_EQ(listed(), QStringList{"a.ktd"});
    c().Txt_Klasor->setText(QString::fromStdString(second));
    EXPECT_EQ(listed(), QStringList{"a.ktd"});
    choose(c().Cbo_KtdPvd, 1);
    choose(c().Cbo_KtdPvd, 0);
    EXPECT_EQ(listed(), (QStringList{"b.ktd", "c.ktd"}));

    // A folder that has gone away leaves the list as it was.
    c().Txt_Klasor->setText(QString::fromStdString(second + "/yok"));
    choose(c().Cbo_KtdPvd, 1);
    EXPECT_EQ(listed(), (QStringList{"b.ktd", "c.ktd"}));
}

TEST_F(WizardTest, DoubleClickPicksTheFileAndSingleClickOnlySelects)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd", "b.ktd"});
    writeSettings(folder, ".", "0");
    open();
    ASSERT_TRUE(form->SettingsSaved());
    ASSERT_EQ(listed().size(), 2);

    QListWidget* list = c().File1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(c().File1->ListIndex(), 1);
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "");
    EXPECT_TRUE(form->SettingsSaved());

    doubleClickEntry(1);
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "b.ktd");
    EXPECT_FALSE(form->SettingsSaved());
}

struct StoredFile {
    const char* name;
    const char* file;
    const char* type;
    QStringList shown;
    int selected;
};

void PrintTo(const StoredFile& row, std::ostream* os) { *os << row.name; }

class ActivationPatternTest : public WizardTest, public ::testing::WithParamInterface<StoredFile> {};

TEST_P(ActivationPatternTest, FollowsTheStoredFileName)
{
    const std::string folder = makeFiles("kaynak", {"a.ktd", "Veri.ktd", "VERI.KTD", "b.pvd", "c.PVD"});
    const StoredFile& k = GetParam();
    writeSettings(folder, k.file, k.type);
    open();
    QStringList got = listed();
    EXPECT_EQ(got, k.shown);
    EXPECT_EQ(c().File1->ListIndex(), k.selected);
    EXPECT_EQ(c().Cbo_KtdPvd->currentIndex(), std::stoi(k.type));
    EXPECT_TRUE(form->SettingsSaved()) << "loading the settings is no change";
}

const StoredFile kStoredFiles[] = {
    {"LowerCaseKtd", "Veri.ktd", "-1", {"a.ktd", "VERI.KTD", "Veri.ktd"}, 2},
    {"UpperCaseKtd", "VERI.KTD", "-1", {"b.pvd", "c.PVD"}, -1}, // the extension compares with letter case
    {"StoredTypeWins", "x.ktd", "1", {"b.pvd", "c.PVD"}, -1},   // the stored type refreshes the list again
    {"ShortName", "a.kt", "-1", {"a.ktd", "b.pvd", "c.PVD", "VERI.KTD", "Veri.ktd"}, -1},
    {"NoFile", ".", "-1", {"a.ktd", "b.pvd", "c.PVD", "VERI.KTD", "Veri.ktd"}, -1},
};
INSTANTIATE_TEST_SUITE_P(Settings, ActivationPatternTest, ::testing::ValuesIn(kStoredFiles),
                         [](const auto& info) { return std::string(info.param.name); });

struct StoredType {
    const char* name;
    const char* stored;
    int position;
};

void PrintTo(const StoredType& row, std::ostream* os) { *os << row.name; }

class StoredTypeTest : public WizardTest, public ::testing::WithParamInterface<StoredType> {};

TEST_P(StoredTypeTest, SelectsItsPositionOrNothingOutsideTheList)
{
    writeSettings(".", ".", GetParam().stored);
    open();
    EXPECT_EQ(c().Cbo_KtdPvd->currentIndex(), GetParam().position);
    EXPECT_EQ(c().Txt_Klasor->text(), "") << "'.' reads back as empty text";
    EXPECT_EQ(c().Txt_SecilenDosya->text(), "");
}

// A text that is no number reads as position 0.
const StoredType kStoredTypes[] = {
    {"PastTheList", "2", -1}, {"Negative", "-1", -1}, {"Pvd", "1", 1},
    {"NoNumber", "abc", 0},   {"Empty", "", 0},       {"PvdWithSpaces", " 1 ", 1},
};
INSTANTIATE_TEST_SUITE_P(Settings, StoredTypeTest, ::testing::ValuesIn(kStoredTypes),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ktv::test
