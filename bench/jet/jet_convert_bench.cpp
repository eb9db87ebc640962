// Conversion speed from real Jet 4 and Jet 3 sources against the same rows in this program's
// own format: the three sample sources are written with one seed, then converted in turn by
// the whole ktvedaz-cli convert process (each into a fresh program folder, the order rotated
// from one round to the next so that none always runs on a warmer machine), best of several
// runs each. Prints records per second of each, its peak memory, and the ratios Jet rate /
// own-format rate (goal: at least 0.9); with --sizes, for each number of records, and with
// --csv and --svg the figures and a plot of the rates and peak memory against N.
//
// --app DIR (given more than once) times the ktvedaz-cli and templates of each folder in the
// same rotation, e.g. a build before and after a change.
//
// Usage: ktvedaz-bench-jet-convert [records-in-all=1000000] [runs=3]
//        ktvedaz-bench-jet-convert --sizes 30000,300000,1000000 [--runs R=3] [--csv FILE] [--svg FILE]
//                                  [--app DIR]...
#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/Cli.h"
#include "convert/Plot.h"
#include "convert/Runs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Source {
    const char* name;
    ktv::cli::SampleFormat format;
    const char* colour;
};

const Source kSources[] = {{"own format", ktv::cli::SampleFormat::Own, "#2471a3"},
                           {"Jet 4", ktv::cli::SampleFormat::Jet4, "#c0392b"},
                           {"Jet 3", ktv::cli::SampleFormat::Jet3, "#229954"}};
constexpr int kCount = 3;

struct Sized {
    long records = 0;
    std::vector<std::vector<ktv::bench::RunResult>> best; // [program folder][source]
};

std::string machine()
{
    const std::string cpu = ktv::bench::cpuModel();
    struct utsname u {};
    uname(&u);
    double load = 0;
    std::ifstream("/proc/loadavg") >> load;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%s, %ld cores, Linux %s, load %.1f at the start", cpu.c_str(),
                  sysconf(_SC_NPROCESSORS_ONLN), u.release, load);
    return buf;
}

Sized measure(const fs::path& work, const std::vector<fs::path>& apps, long total, int runs)
{
    Sized s;
    const long perTable = total / 3;
    s.records = perTable * 3;
    fs::path sources[kCount];
    for (int k = 0; k < kCount; ++k) {
        sources[k] = work / ("source" + std::to_string(k)) / "kaynak.ktd";
        fs::create_directories(sources[k].parent_path());
        ktv::cli::WriteSampleSource(sources[k].string(), "KTD", perTable, 1, "7183", kSources[k].format);
    }
    s.best.assign(apps.size(), std::vector<ktv::bench::RunResult>(kCount, ktv::bench::RunResult{1e300, 0}));
    std::printf("records in all: %ld (%ld per table); sources of %.0f, %.0f and %.0f MB\n", s.records,
                perTable, fs::file_size(sources[0]) / 1e6, fs::file_size(sources[1]) / 1e6,
                fs::file_size(sources[2]) / 1e6);
    const int turns = kCount * static_cast<int>(apps.size());
    for (int r = 0; r < runs; ++r)
        for (int i = 0; i < turns; ++i) {
            const int t = (r + i) % turns; // rotated, so that none always goes first
            const std::size_t a = static_cast<std::size_t>(t / kCount);
            const int k = t % kCount;
            const fs::path app = ktv::bench::programFolder(work / ("app" + std::to_string(t)), apps[a]);
            const ktv::bench::RunResult run =
                ktv::bench::wholeProcess(apps[a] / "ktvedaz-cli", app, sources[k]);
            std::printf("run %d %s %-10s: %.2f s, %.1f MiB\n", r + 1, apps[a].c_str(), kSources[k].name,
                        run.seconds, run.peakKiB / 1024.0);
            std::fflush(stdout);
            auto& best = s.best[a][static_cast<std::size_t>(k)];
            best.seconds = std::min(best.seconds, run.seconds);
            best.peakKiB = std::max(best.peakKiB, run.peakKiB);
            fs::remove_all(app);
        }
    for (const auto& source : sources)
        fs::remove_all(source.parent_path());
    const double n = static_cast<double>(s.records);
    for (std::size_t a = 0; a < apps.size(); ++a) {
        const auto& best = s.best[a];
        if (apps.size() > 1)
            std::printf("%s:\n", apps[a].c_str());
        for (int k = 0; k < kCount; ++k)
            std::printf("%-10s source: %10.0f records/s (best %.2f s), peak %.1f MiB\n", kSources[k].name,
                        n / best[k].seconds, best[k].seconds, best[k].peakKiB / 1024.0);
        for (int k = 1; k < kCount; ++k)
            std::printf("ratio (%s rate / own-format rate): %.2f (goal: at least 0.90)\n", kSources[k].name,
                        best[0].seconds / best[k].seconds);
    }
    return s;
}

std::vector<long> parseSizes(const std::string& text)
{
    std::vector<long> sizes;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        sizes.push_back(std::atol(item.c_str()));
    return sizes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], ktv::bench::kMeasureArgument) == 0)
        return ktv::bench::runMeasured(argv + 2);
    std::vector<long> sizes;
    int runs = 3;
    std::string csvPath, svgPath;
    std::vector<fs::path> apps;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--sizes")
            sizes = parseSizes(next());
        else if (a == "--runs")
            runs = std::max(1, std::atoi(next().c_str()));
        else if (a == "--csv")
            csvPath = next();
        else if (a == "--svg")
            svgPath = next();
        else if (a == "--app")
            apps.push_back(fs::absolute(next()));
        else
            positional.push_back(a);
    }
    if (sizes.empty())
        sizes.push_back(positional.size() > 0 ? std::atol(positional[0].c_str()) : 1000000);
    if (positional.size() > 1)
        runs = std::max(1, std::atoi(positional[1].c_str()));

    if (apps.empty())
        apps.push_back(fs::path(ktv::ExecutableFolder()).parent_path() / "app");
    const fs::path work = fs::temp_directory_path() / ("ktvjetbench." + std::to_string(getpid()));
    fs::create_directories(work);
    const std::string where = machine();
    std::printf("machine: %s\nthe whole ktvedaz-cli convert process, best of %d, rotated\n", where.c_str(),
                runs);
    std::vector<Sized> results;
    for (const long n : sizes)
        results.push_back(measure(work, apps, n, runs));
    fs::remove_all(work);

    if (!csvPath.empty()) {
        std::ofstream csv(csvPath, std::ios::binary);
        csv << "program,records,source,seconds,records_per_s,peak_mib,rate_vs_own_format\r\n";
        for (const auto& s : results)
            for (std::size_t a = 0; a < apps.size(); ++a)
                for (int k = 0; k < kCount; ++k) {
                    const auto& best = s.best[a];
                    char line[1024];
                    std::snprintf(line, sizeof line, "%s,%ld,%s,%.3f,%.0f,%.1f,%.3f\r\n", apps[a].c_str(),
                                  s.records, kSources[k].name, best[k].seconds, s.records / best[k].seconds,
                                  best[k].peakKiB / 1024.0, best[0].seconds / best[k].seconds);
                    csv << line;
                }
    }
    if (!svgPath.empty()) {
        using ktv::bench::Panel;
        using ktv::bench::Series;
        Panel rates{"Conversion speed by source format", "records per second", false, {}};
        Panel memory{"Peak resident memory of the convert process", "MiB", false, {}};
        for (int k = 0; k < kCount; ++k) {
            Series rate{std::string(kSources[k].name) + " source", kSources[k].colour, false, {}};
            Series peak = rate;
            for (const auto& s : results) { // the first program folder's figures
                const auto& best = s.best[0][static_cast<std::size_t>(k)];
                rate.points.emplace_back(static_cast<double>(s.records), s.records / best.seconds);
                peak.points.emplace_back(static_cast<double>(s.records), best.peakKiB / 1024.0);
            }
            rates.series.push_back(rate);
            memory.series.push_back(peak);
        }
        std::ofstream svg(svgPath, std::ios::binary);
        svg << ktv::bench::svgChart("KTVedaz conversion from Jet sources and from the program's own format",
                                    where + ", best of " + std::to_string(runs), {rates, memory});
    }
    return 0;
}
