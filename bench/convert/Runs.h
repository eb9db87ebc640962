// The per-record conversion as the benchmark times it: the whole ktvedaz-cli convert
// process as an operator starts it, or the run alone inside a child of the benchmark.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace ktv::bench {

struct RunResult {
    double seconds = 0;
    long peakKiB = 0; // peak resident memory of the process that ran the conversion
};

// The best (shortest) of the repetitions, with the largest peak memory seen.
struct Best {
    double seconds = 1e300;
    long peakKiB = 0;
    void add(double s, long kib = 0)
    {
        seconds = std::min(seconds, s);
        peakKiB = std::max(peakKiB, kib);
    }
    void add(const RunResult& r) { add(r.seconds, r.peakKiB); }
};

// ktvedaz-cli convert of source into company 1, year 2005 of the program folder app: timed
// from the start of the process to its end (start-up, template copy, run, final checkpoint,
// exit). Leaves the program's standard output aside. extra: more arguments (--server ...).
RunResult wholeProcess(const std::filesystem::path& cli, const std::filesystem::path& app,
                       const std::filesystem::path& source, const std::vector<std::string>& extra = {});

// The benchmark started with this first argument runs the program named by the rest from a
// fresh process, so the peak memory the kernel reports is the program's own.
inline constexpr const char* kMeasureArgument = "--measure";
int runMeasured(char** argv); // argv: the program and its arguments, null-terminated

// The same run called in a fresh child process of the benchmark; only the run is timed (its
// peak memory includes what the benchmark held when it forked).
RunResult inProcess(const std::filesystem::path& app, const std::filesystem::path& source);

// The year database the runs above write into.
std::filesystem::path yearDatabase(const std::filesystem::path& app);

} // namespace ktv::bench
