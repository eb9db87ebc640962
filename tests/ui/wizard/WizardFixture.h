// A temporary program folder with the templates, scripted message boxes and folder dialog,
// a recording mouse pointer and a fixed calendar year, around a real Frm_Vedaz.
#pragma once

#include "platform/core/MousePointer.h"
#include "platform/qt/FolderBrowser.h"
#include "support/TestSupport.h"
#include "ui/controls/button/qvButtons_H.h"
#include "ui/wizard/Frm_Vedaz.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace ktv::test {

class ScriptedFolderBrowser final : public FolderBrowser {
public:
    struct Call {
        std::string title, startFolder;
    };
    std::string BrowseForFolder(QWidget* owner, const std::string& title,
                                const std::string& startFolder) override;
    std::deque<std::string> answers; // empty text: the user cancels
    std::vector<Call> calls;
};

class RecordingPointer final : public MousePointerService {
public:
    void setPointer(Pointer p) override
    {
        current = p;
        history.push_back(p);
    }
    Pointer pointer() const override { return current; }
    Pointer current = Pointer::Default;
    std::vector<Pointer> history;
};

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new form, shown and activated (unless told otherwise).
    Frm_Vedaz& open(bool activate = true);
    // Ends the current form as the program would, then opens the next start.
    Frm_Vedaz& reopen();

    void writeSettings(const std::string& folder, const std::string& file, const std::string& type);
    std::string settings() const { return readFile(iniPath); }
    // Creates empty files in a folder (made when missing) and returns the folder.
    std::string makeFiles(const std::string& folder, const QStringList& names);
    QStringList listed() const;

    void click(QWidget* w);
    // Key by key, Turkish letters included.
    void typeText(QWidget* w, const QString& text);
    void doubleClickEntry(int row);
    void choose(class QComboBox* box, int index); // the user picks an entry

    const WizardControls& c() const { return form->controls(); }

    TempDir dir;
    std::string iniPath;
    ScriptedMessageBoxes boxes;
    ScriptedFolderBrowser browser;
    RecordingPointer pointer;
    int year = 2005;
    std::unique_ptr<Frm_Vedaz> form;
};

} // namespace ktv::test
