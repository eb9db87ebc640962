#include "support/TestSupport.h"

#include "platform/core/ProgramExit.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ktv::test {

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "ktvtest.XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

ExitCatcher::ExitCatcher()
{
    setExitHandler([](int status) { throw ProgramEnded{status}; });
}

ExitCatcher::~ExitCatcher() { setExitHandler({}); }

NumericLocale::NumericLocale(const char* name)
{
    const char* compiled = std::getenv("KTV_LOCPATH");
    if (compiled)
        setenv("LOCPATH", compiled, 1);
    if (!std::setlocale(LC_NUMERIC, name) || !std::setlocale(LC_CTYPE, name))
        ADD_FAILURE() << "the test locale " << name << " is missing from "
                      << (compiled ? compiled : "(no KTV_LOCPATH)");
}

NumericLocale::~NumericLocale()
{
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    unsetenv("LOCPATH");
}

namespace {
MessageBoxService* installed = nullptr;
}

ScriptedMessageBoxes::ScriptedMessageBoxes(Notices notices) : m_notices(notices)
{
    m_previous = installed;
    installed = this;
    setMessageBoxes(this);
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    installed = m_previous;
    setMessageBoxes(m_previous);
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted message box answer(s) never asked for";
}

MsgAnswer ScriptedMessageBoxes::show(const MessageRequest& request)
{
    shown.push_back(request);
    const MsgAnswer first = request.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    if (m_answers.empty() && m_notices == Notices::Acknowledged && request.buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unscripted message box [" << request.title << "] " << request.text;
        return first;
    }
    const MsgAnswer a = m_answers.front();
    m_answers.pop_front();
    const bool offered = request.buttons == MsgButtons::YesNo ? a != MsgAnswer::Ok : a == MsgAnswer::Ok;
    if (!offered) {
        ADD_FAILURE() << "scripted answer the box does not offer: [" << request.title << "] " << request.text;
        return first;
    }
    return a;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

} // namespace ktv::test
