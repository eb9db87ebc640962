// The folder dialog of our own: folders only, the start folder selected, the status line,
// and OK only with a folder to answer.
#include "platform/qt/FolderDialog.h"
#include "platform/qt/FolderBrowser.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <filesystem>

namespace ktv::test {
namespace {

const QString kTitle = QString::fromUtf8("Çevrim Yapılacak Dosyaların Bulunduğu Klasör");

TEST(FolderDialog, StartFolderIsSelectedAndShownInTheStatusLine)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "kaynak" / "alt");
    writeFile(dir.file("kaynak/dosya.ktd"), "x");
    const QString start = QString::fromStdString(dir.file("kaynak"));
    FolderDialog dialog(nullptr, kTitle, start);
    EXPECT_EQ(dialog.windowTitle(), kTitle);
    EXPECT_EQ(dialog.findChild<QLabel*>("Lbl_Title")->text(), kTitle);
    EXPECT_EQ(dialog.selectedPath(), start);
    EXPECT_EQ(dialog.statusText(), start);
    EXPECT_TRUE(dialog.findChild<QPushButton*>("Cmd_Tamam")->isEnabled());
    EXPECT_EQ(dialog.findChild<QPushButton*>("Cmd_Iptal")->text(), QString::fromUtf8("İptal"));

    QTreeView* tree = dialog.tree();
    const QModelIndex current = tree->currentIndex();

    // Moving the selection updates the status line.
    tree->setCurrentIndex(current.parent());
    EXPECT_EQ(dialog.statusText(), QString::fromStdString(dir.str()));
}

TEST(FolderDialog, MissingStartFolderLeavesTheDefault)
{
    FolderDialog dialog(nullptr, kTitle, "/yok/olmayan/klasor");
    EXPECT_EQ(dialog.selectedPath(), "");
    EXPECT_EQ(dialog.statusText(), "");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("Cmd_Tamam")->isEnabled()) << "nothing to answer with yet";

    FolderDialog root(nullptr, kTitle, QDir::rootPath());
    EXPECT_EQ(root.selectedPath(), QDir::rootPath());
}

// The result rule: OK answers the selected folder, Cancel empty text.
struct AnswerRow {
    const char* button;
    bool answersTheFolder;
};

class FolderDialogAnswers : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(FolderDialogAnswers, BrowseForFolderAnswersWithTheChosenFolderOrNothing)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "kaynak");
    const std::string start = dir.file("kaynak");
    const char* button = GetParam().button;
    QString title;
    // Runs inside the dialog's own event loop.
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        },
        Qt::QueuedConnection);
    QtFolderBrowser browser;
    const std::string chosen = browser.BrowseForFolder(nullptr, kTitle.toStdString(), start);
    EXPECT_EQ(title, kTitle);
    EXPECT_EQ(chosen, GetParam().answersTheFolder ? start : std::string());
}

const AnswerRow kAnswers[] = {{"Cmd_Tamam", true}, {"Cmd_Iptal", false}};
INSTANTIATE_TEST_SUITE_P(FolderDialog, FolderDialogAnswers, ::testing::ValuesIn(kAnswers),
                         [](const auto& info) { return std::string(info.param.button); });

} // namespace
} // namespace ktv::test
