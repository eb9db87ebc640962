// The wizard test fixture.
#include "WizardFixture.h"

#include "app/AppPath.h"
#include "ui/wizard/FileListBox.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace ktv::test {

std::string ScriptedFolderBrowser::BrowseForFolder(QWidget*, const std::string& title,
                                                   const std::string& startFolder)
{
    calls.push_back({title, startFolder});
    if (answers.empty())
        return {};
    std::string a = answers.front();
    answers.pop_front();
    return a;
}

void WizardTest::SetUp()
{
    InitAppPath(dir.str());
    iniPath = dir.file("Vedaz.ini");
    // The templates the build lays out in its program folder, <build>/app beside <build>/tests.
    const char* env = std::getenv("KTV_APP_DIR");
    const fs::path app = env && *env ? fs::path(env) : fs::path(ExecutableFolder()) / ".." / "app";
    for (const char* name : {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"}) {
        ASSERT_TRUE(fs::exists(app / name)) << (app / name).string();
        fs::copy_file(app / name, dir.path() / name);
    }
    setMousePointer(&pointer);
}

void WizardTest::TearDown()
{
    form.reset();
    setMousePointer(nullptr);
}

Frm_Vedaz& WizardTest::open(bool activate)
{
    form.reset();
    WizardOptions options;
    options.settingsFile = iniPath;
    options.folderBrowser = &browser;
    options.currentYear = [this] { return year; };
    form = std::make_unique<Frm_Vedaz>(options);
    if (activate) {
        form->show();
        form->activateWindow();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->activated());
    }
    return *form;
}

Frm_Vedaz& WizardTest::reopen()
{
    form->close();
    return open();
}

void WizardTest::writeSettings(const std::string& folder, const std::string& file, const std::string& type)
{
    writeFile(iniPath, "[CEVRIM]\r\nKLASOR=" + folder + "\r\nDOSYA=" + file + "\r\nKTDPVD=" + type + "\r\n");
}

std::string WizardTest::makeFiles(const std::string& folder, const QStringList& names)
{
    const fs::path path = dir.path() / folder;
    fs::create_directories(path);
    for (const QString& name : names)
        writeFile((path / name.toStdString()).string(), "x");
    return path.string();
}

QStringList WizardTest::listed() const
{
    QStringList names;
    for (int i = 0; i < c().File1->ListCount(); ++i)
        names << c().File1->List(i);
    return names;
}

void WizardTest::click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

void WizardTest::typeText(QWidget* w, const QString& text)
{
    for (const QChar ch : text) {
        const auto key = static_cast<Qt::Key>(ch.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, w, key, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, key, QString(ch), Qt::NoModifier);
    }
}

void WizardTest::doubleClickEntry(int row)
{
    QListWidget* list = c().File1;
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void WizardTest::choose(QComboBox* box, int index)
{
    // Arrow keys on a closed list move the selection and count as the user's choice.
    box->setFocus();
    while (box->currentIndex() < index)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > index)
        QTest::keyClick(box, Qt::Key_Up);
}

} // namespace ktv::test
