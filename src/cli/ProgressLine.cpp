#include "cli/ProgressLine.h"

namespace ktv::cli {

std::string ProgressText(const std::string& table, long done, long total)
{
    const int width = static_cast<int>(std::to_string(total).size());
    const long percent =
        total > 0 ? static_cast<long>(static_cast<double>(done) * 100.0 / static_cast<double>(total)) : 0;
    char buf[128];
    std::snprintf(buf, sizeof buf, "%-10s %*ld / %ld %3ld%%", table.c_str(), width, done, total, percent);
    return buf;
}

void ProgressLine::start(const std::string& table, long total)
{
    m_table = table;
    m_total = total;
    if (m_enabled)
        draw(0);
}

void ProgressLine::update(long done)
{
    if (!m_enabled)
        return;
    // Redrawing a terminal line per record would cost more than the record itself; the
    // table's last record is always drawn, so its line ends on its true count.
    const auto now = std::chrono::steady_clock::now();
    if (done != m_total && now - m_lastDraw < std::chrono::milliseconds(100))
        return;
    m_lastDraw = now;
    draw(done);
}

void ProgressLine::draw(long done)
{
    // "\033[K" wipes what a longer earlier line left behind.
    std::fprintf(m_out, "\r%s\033[K", ProgressText(m_table, done, m_total).c_str());
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressLine::clear()
{
    if (!m_drawn)
        return;
    std::fputs("\r\033[K", m_out);
    std::fflush(m_out);
    m_drawn = false;
}

} // namespace ktv::cli
