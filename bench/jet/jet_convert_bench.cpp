// Conversion speed from a real Jet 4 source against the same rows in this program's own
// format: both sample sources are written with one seed, then converted alternately (each
// run in its own process, into a fresh program folder), best of several runs each.
// Prints records per second of both and the ratio Jet rate / own-format rate (goal: 0.8).
//
// Usage: ktvedaz-bench-jet-convert [records-in-all=1000000] [runs=3]
#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/Cli.h"
#include "convert/Runs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    const long total = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const long perTable = total / 3;
    const fs::path templates = fs::path(ktv::ExecutableFolder()).parent_path() / "app";
    const fs::path work = fs::temp_directory_path() / ("ktvjetbench." + std::to_string(getpid()));
    fs::create_directories(work);

    const fs::path own = work / "own" / "kaynak.ktd";
    const fs::path jet = work / "jet" / "kaynak.ktd";
    fs::create_directories(own.parent_path());
    fs::create_directories(jet.parent_path());
    const auto t0 = Clock::now();
    ktv::cli::WriteSampleSource(own.string(), "KTD", perTable, 1, "7183", ktv::cli::SampleFormat::Own);
    const auto t1 = Clock::now();
    ktv::cli::WriteSampleSource(jet.string(), "KTD", perTable, 1, "7183", ktv::cli::SampleFormat::Jet4);
    const auto t2 = Clock::now();
    std::printf("records in all: %ld (%ld per table); sources written in %.1f s (own format, %.0f MB) and "
                "%.1f s (Jet 4, %.0f MB)\n",
                perTable * 3, perTable, std::chrono::duration<double>(t1 - t0).count(),
                fs::file_size(own) / 1e6, std::chrono::duration<double>(t2 - t1).count(),
                fs::file_size(jet) / 1e6);

    double bestOwn = 1e300;
    double bestJet = 1e300;
    for (int r = 0; r < runs; ++r) {
        // Alternate which goes first, so that neither always runs on a warmer machine.
        for (int k = 0; k < 2; ++k) {
            const bool jetTurn = (r + k) % 2 == 1;
            const fs::path app =
                ktv::bench::programFolder(work / ("app" + std::to_string(r) + std::to_string(k)), templates);
            // Each run in a fresh child process, as a new program start; a failed run ends the benchmark.
            const double s = ktv::bench::inProcess(app, jetTurn ? jet : own).seconds;
            std::printf("run %d %-10s: %.2f s\n", r + 1, jetTurn ? "Jet 4" : "own format", s);
            (jetTurn ? bestJet : bestOwn) = std::min(jetTurn ? bestJet : bestOwn, s);
            fs::remove_all(app);
        }
    }
    const double n = static_cast<double>(perTable * 3);
    std::printf("own-format source : %10.0f records/s (best %.2f s)\n", n / bestOwn, bestOwn);
    std::printf("Jet 4 source      : %10.0f records/s (best %.2f s)\n", n / bestJet, bestJet);
    std::printf("ratio (Jet 4 rate / own-format rate): %.2f (goal: at least 0.80)\n", bestOwn / bestJet);
    fs::remove_all(work);
    return 0;
}
