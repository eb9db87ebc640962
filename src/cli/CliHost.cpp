#include "cli/CliHost.h"

#include <cstdio>

namespace ktv::cli {

CliHost::CliHost(bool showProgress) : m_show(showProgress) {}

void CliHost::setProgressVisible(bool visible)
{
    if (!visible && m_show)
        std::fputs("\r\033[K", stderr);
}

void CliHost::setProgressValue(int value)
{
    m_value = value;
    if (!m_show)
        return;
    // Redrawing a terminal line per record would cost more than the record itself.
    const auto now = std::chrono::steady_clock::now();
    if (value != m_max && now - m_lastDraw < std::chrono::milliseconds(100))
        return;
    m_lastDraw = now;
    std::fprintf(stderr, "\r%d / %d", value, m_max);
    std::fflush(stderr);
}

void CliHost::showMessage(const std::string& text, const std::string&)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace ktv::cli
