// The tool's progress on a terminal: one line naming the table with the records done and
// the table's total, redrawn at most ten times a second and cleared when the work ends, so
// no stale count is left in front of what is printed next.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace ktv::cli {

// "AracKarti      15526 / 100000000   0%": the count right-aligned to the total's width.
std::string ProgressText(const std::string& table, long done, long total);

class ProgressLine {
public:
    // Draws nothing unless enabled (the caller passes whether out is a terminal).
    explicit ProgressLine(bool enabled, std::FILE* out = stderr) : m_enabled(enabled), m_out(out) {}
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void start(const std::string& table, long total);
    void update(long done);
    // Wipes the line; the next output starts on a clean line.
    void clear();

private:
    void draw(long done);

    bool m_enabled;
    std::FILE* m_out;
    bool m_drawn = false;
    std::string m_table;
    long m_total = 0;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

} // namespace ktv::cli
