#include "cli/CliHost.h"

#include <cstdio>

namespace ktv::cli {

void CliHost::setProgressVisible(bool visible)
{
    if (!visible)
        m_progress.clear();
}

void CliHost::setProgressMax(int max)
{
    m_value = 0;
    m_progress.start(m_table, max);
}

void CliHost::setProgressValue(int value)
{
    m_value = value;
    m_progress.update(value);
}

void CliHost::showMessage(const std::string& text, const std::string&)
{
    m_progress.clear();
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace ktv::cli
