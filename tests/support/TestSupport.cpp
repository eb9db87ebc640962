#include "support/TestSupport.h"

#include "platform/core/ProgramExit.h"

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

namespace {
MessageBoxService* installed = nullptr;
}

ScriptedMessageBoxes::ScriptedMessageBoxes()
{
    m_previous = installed;
    installed = this;
    setMessageBoxes(this);
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    installed = m_previous;
    setMessageBoxes(m_previous);
}

MsgAnswer ScriptedMessageBoxes::show(const MessageRequest& request)
{
    shown.push_back(request);
    if (!m_answers.empty()) {
        const MsgAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return request.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
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
