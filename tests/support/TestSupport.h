// Shared helpers of the tests: temporary folders, scripted message boxes, and an exit
// handler that turns "the program ends" into an exception a test can expect.
#pragma once

#include "platform/core/MessageBox.h"

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace ktv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Sets the C library's numeric locale and character classes to one compiled for the tests
// (tr_TR.UTF-8, de_KT.UTF-8 under KTV_LOCPATH), as a window toolkit sets them from the
// environment, and back to "C" when it goes; fails the test when the locale cannot be set. LOCPATH stays set
// meanwhile, so newlocale finds the same locales.
class NumericLocale {
public:
    explicit NumericLocale(const char* name);
    ~NumericLocale();
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;
};

// Thrown by the test exit handler instead of ending the process.
struct ProgramEnded {
    int status;
};

// Installs the throwing exit handler for the lifetime of the object.
class ExitCatcher {
public:
    ExitCatcher();
    ~ExitCatcher();
};

// Records every box and answers from a script, in order. A box the script has no answer for,
// or an answer the box does not offer, fails the test: a forgotten answer must not pass for
// the box's first button. Answers left over when the service ends fail the test too.
class ScriptedMessageBoxes final : public MessageBoxService {
public:
    enum class Notices { Scripted, Acknowledged };
    // Acknowledged: boxes with only an OK button are answered OK unscripted, for tests whose
    // subject is the notices themselves; a Yes/No question still needs its scripted answer.
    explicit ScriptedMessageBoxes(Notices notices = Notices::Scripted);
    ~ScriptedMessageBoxes() override;
    MsgAnswer show(const MessageRequest& request) override;
    void answer(MsgAnswer a) { m_answers.push_back(a); }
    void answer(MsgAnswer a, int times) { m_answers.insert(m_answers.end(), times, a); }
    std::vector<MessageRequest> shown;

private:
    std::deque<MsgAnswer> m_answers;
    Notices m_notices;
    MessageBoxService* m_previous = nullptr;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

} // namespace ktv::test
