// Conversion speed: the per-record run (a lookup per record, each new card added and stored
// by its own update, a yield before every record) beside SQLite's own floor for the same
// work and the set-based baselines, all measured in the same run, best of several and
// interleaved so a busy machine slows every form alike.
//
// Usage: ktvedaz-bench-convert [records-in-all=1000000] [--reps R=3]
//          the whole ktvedaz-cli convert process, the run alone, the floor and the set-based
//          forms at one size, first run into empty year databases, then a rerun onto them
//        ktvedaz-bench-convert --scaling [--max N=1000000] [--reps R=2] [--csv FILE] [--svg FILE]
//          the same at 10k, 100k, 1M (and 10M with --max 10000000) records, written as CSV
//          and as a plot
//        ktvedaz-bench-convert --floor SOURCE TARGET [--wal]
//          the floor alone, for a profiler (--wal: with the program's write-ahead log)
//        ktvedaz-bench-convert --server CONNINFO [records-in-all=1000000] [--reps R=3]
//          onto a PostgreSQL server (a database for the benchmark alone): the process onto the
//          server, onto the DATA folder and the server's COPY floor, round trips, peak memory
#include "BenchSupport.h"
#include "Floor.h"
#include "Plot.h"
#include "Runs.h"
#include "ServerBench.h"
#include "SetBased.h"
#include "app/AppPath.h"
#include "cli/Cli.h"

#include <sqlite3.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace ktv::bench;

namespace {

struct Options {
    long records = 1000000;
    long maxRecords = 1000000;
    int reps = 0;
    bool scaling = false;
    std::string csv, svg;
    std::string server; // a connection text: the benchmark onto that server
};

struct Paths {
    fs::path templates, cli, work;
};

// One size, first run and rerun.
struct Pass {
    Best process, inProcess, floor, floorWal, windowed, indexed;
};
struct Sized {
    long records = 0;
    Pass first, rerun;
    double indexBuild = 0;
};

fs::path freshTarget(const Paths& p, const std::string& name)
{
    const fs::path t = p.work / (name + ".mdb");
    fs::copy_file(p.templates / "KTFIM.mdx", t, fs::copy_options::overwrite_existing);
    return t;
}

void checkCards(const char* what, long expected, long got)
{
    if (expected != got) {
        std::fprintf(stderr, "%s wrote %ld cards, the per-record run %ld\n", what, got, expected);
        std::exit(1);
    }
}

// Every form at one size: each repetition runs them one after the other, first into
// empty year databases, then again onto what that first run left.
Sized measure(const Paths& p, long records, int reps, bool inProcessToo, bool indexedToo)
{
    Sized out;
    const long perTable = records / 3;
    out.records = perTable * 3;
    const fs::path source = p.work / ("source" + std::to_string(out.records) + ".ktd");
    ktv::cli::WriteSampleSource(source.string(), "KTD", perTable, 1, "7183");
    fs::path indexedSource;
    if (indexedToo) {
        indexedSource = p.work / "indexed.ktd";
        fs::copy_file(source, indexedSource, fs::copy_options::overwrite_existing);
        out.indexBuild = buildSourceIndex(indexedSource);
    }
    for (int r = 0; r < reps; ++r) {
        const fs::path app = programFolder(p.work / "app", p.templates);
        fs::remove_all(app / "DATA");
        out.first.process.add(wholeProcess(p.cli, app, source));
        const long expected = cards(yearDatabase(app));
        const fs::path floorTarget = freshTarget(p, "floor");
        out.first.floor.add(floorRun(source, floorTarget));
        checkCards("the floor", expected, cards(floorTarget));
        const fs::path floorWalTarget = freshTarget(p, "floorwal");
        out.first.floorWal.add(floorRun(source, floorWalTarget, FloorJournal::ProgramWal));
        checkCards("the floor with the program's journal", expected, cards(floorWalTarget));
        const fs::path windowed = freshTarget(p, "windowed");
        out.first.windowed.add(setBased(windowed, source, Baseline::Windowed));
        checkCards("the windowed form", expected, cards(windowed));
        fs::path indexed;
        if (indexedToo) {
            indexed = freshTarget(p, "indexed");
            out.first.indexed.add(setBased(indexed, indexedSource, Baseline::Indexed));
            checkCards("the indexed form", expected, cards(indexed));
        }
        fs::path inApp;
        if (inProcessToo) {
            inApp = programFolder(p.work / "inapp", p.templates);
            fs::remove_all(inApp / "DATA");
            out.first.inProcess.add(inProcess(inApp, source));
        }
        // The rerun: every card is there already.
        out.rerun.process.add(wholeProcess(p.cli, app, source));
        checkCards("the rerun", expected, cards(yearDatabase(app)));
        out.rerun.floor.add(floorRun(source, floorTarget));
        out.rerun.floorWal.add(floorRun(source, floorWalTarget, FloorJournal::ProgramWal));
        out.rerun.windowed.add(setBased(windowed, source, Baseline::Windowed));
        if (indexedToo)
            out.rerun.indexed.add(setBased(indexed, indexedSource, Baseline::Indexed));
        if (inProcessToo)
            out.rerun.inProcess.add(inProcess(inApp, source));
    }
    fs::remove(source);
    if (indexedToo)
        fs::remove(indexedSource);
    return out;
}

std::string machine()
{
    const std::string cpu = ktv::bench::cpuModel();
    long memKiB = 0;
    std::ifstream mem("/proc/meminfo");
    for (std::string line; std::getline(mem, line);)
        if (line.rfind("MemTotal:", 0) == 0)
            memKiB = std::atol(line.c_str() + 9);
    struct utsname u {};
    uname(&u);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%s, %ld cores, %.0f GiB, Linux %s, SQLite %s", cpu.c_str(),
                  sysconf(_SC_NPROCESSORS_ONLN), memKiB / 1048576.0, u.release, sqlite3_libversion());
    return buf;
}

double rate(long records, const Best& b) { return static_cast<double>(records) / b.seconds; }

void printPass(const char* name, long n, const Pass& p, bool inProcessToo, bool indexedToo, double indexBuild)
{
    std::printf("%s\n", name);
    std::printf("  ktvedaz-cli convert process : %10.0f records/s (%.2f s, peak %.1f MiB)\n",
                rate(n, p.process), p.process.seconds, p.process.peakKiB / 1024.0);
    if (inProcessToo)
        std::printf("  the run alone, in process   : %10.0f records/s (%.2f s, peak %.1f MiB)\n",
                    rate(n, p.inProcess), p.inProcess.seconds, p.inProcess.peakKiB / 1024.0);
    std::printf("  SQLite's floor              : %10.0f records/s (%.2f s)\n", rate(n, p.floor),
                p.floor.seconds);
    std::printf("  the floor, program's journal: %10.0f records/s (%.2f s; write-ahead log)\n",
                rate(n, p.floorWal), p.floorWal.seconds);
    std::printf("  set-based, windowed         : %10.0f records/s (%.2f s)\n", rate(n, p.windowed),
                p.windowed.seconds);
    if (indexedToo)
        std::printf("  set-based, source index     : %10.0f records/s (%.2f s, +%.2f s to build the index)\n",
                    rate(n, p.indexed), p.indexed.seconds, indexBuild);
    std::printf("  process rate / floor rate   : %.2f (goal: at least 0.9)\n",
                p.floor.seconds / p.process.seconds);
    std::printf("  the same, program's journal : %.2f (the floor's own rate: %.2f of its rate above)\n",
                p.floorWal.seconds / p.process.seconds, p.floor.seconds / p.floorWal.seconds);
    std::printf("  process time / set-based    : %.2f windowed", p.process.seconds / p.windowed.seconds);
    if (indexedToo)
        std::printf(", %.2f with the source index (%.2f counting its build)",
                    p.process.seconds / p.indexed.seconds,
                    p.process.seconds / (p.indexed.seconds + indexBuild));
    std::printf(" (goal: at most 1.3)\n");
    if (inProcessToo)
        std::printf("  whole process - run alone   : %.2f s\n", p.process.seconds - p.inProcess.seconds);
}

int single(const Paths& paths, const Options& o)
{
    const int reps = o.reps > 0 ? o.reps : 3;
    std::printf("machine: %s\n", machine().c_str());
    std::printf("records in all: %ld, best of %d interleaved\n", o.records / 3 * 3, reps);
    const Sized s = measure(paths, o.records, reps, true, true);
    printPass("first run, into empty year databases", s.records, s.first, true, true, s.indexBuild);
    printPass("rerun, onto the full year databases", s.records, s.rerun, true, true, s.indexBuild);
    std::printf("rerun rate / first run rate: %.2f (goal: at least 1.5)\n",
                s.first.process.seconds / s.rerun.process.seconds);
    return 0;
}

int scaling(const Paths& paths, const Options& o)
{
    const int reps = o.reps > 0 ? o.reps : 2;
    const std::string where = machine();
    std::printf("machine: %s\nbest of %d interleaved\n", where.c_str(), reps);
    std::vector<Sized> sizes;
    for (long n = 10000; n <= o.maxRecords; n *= 10) {
        sizes.push_back(measure(paths, n, reps, false, false));
        const Sized& s = sizes.back();
        std::printf(
            "%9ld records: process %8.0f/s (rerun %8.0f/s), floor %8.0f/s (rerun %8.0f/s), with the "
            "program's journal %8.0f/s (rerun %8.0f/s), set-based %8.0f/s (rerun %8.0f/s), peak %.1f MiB "
            "(rerun %.1f MiB)\n",
            s.records, rate(s.records, s.first.process), rate(s.records, s.rerun.process),
            rate(s.records, s.first.floor), rate(s.records, s.rerun.floor), rate(s.records, s.first.floorWal),
            rate(s.records, s.rerun.floorWal), rate(s.records, s.first.windowed),
            rate(s.records, s.rerun.windowed), s.first.process.peakKiB / 1024.0,
            s.rerun.process.peakKiB / 1024.0);
        std::fflush(stdout);
    }
    if (sizes.size() >= 2) {
        const Sized* at100k = nullptr;
        for (const auto& s : sizes)
            if (s.records >= 90000 && s.records < 110000) // 100k, made of three whole tables
                at100k = &s;
        if (at100k)
            std::printf("rate at %ld / rate at %ld: %.2f (goal: at least 0.8 at 10M)\n", sizes.back().records,
                        at100k->records,
                        rate(sizes.back().records, sizes.back().first.process) /
                            rate(at100k->records, at100k->first.process));
    }
    if (!o.csv.empty()) {
        std::ofstream csv(o.csv, std::ios::binary);
        csv << "records,pass,process_seconds,process_records_per_s,process_peak_mib,floor_seconds,"
               "floor_records_per_s,setbased_seconds,setbased_records_per_s,process_rate_vs_floor,"
               "process_time_vs_setbased,floor_wal_seconds,floor_wal_records_per_s,process_rate_vs_floor_"
               "wal\r\n";
        for (const auto& s : sizes)
            for (const auto* pass : {&s.first, &s.rerun}) {
                char line[512];
                std::snprintf(line, sizeof line,
                              "%ld,%s,%.3f,%.0f,%.1f,%.3f,%.0f,%.3f,%.0f,%.3f,%.3f,%.3f,%.0f,%.3f\r\n",
                              s.records, pass == &s.first ? "first" : "rerun", pass->process.seconds,
                              rate(s.records, pass->process), pass->process.peakKiB / 1024.0,
                              pass->floor.seconds, rate(s.records, pass->floor), pass->windowed.seconds,
                              rate(s.records, pass->windowed), pass->floor.seconds / pass->process.seconds,
                              pass->process.seconds / pass->windowed.seconds, pass->floorWal.seconds,
                              rate(s.records, pass->floorWal),
                              pass->floorWal.seconds / pass->process.seconds);
                csv << line;
            }
    }
    if (!o.svg.empty()) {
        auto series = [&](const char* name, const char* colour, bool rerun, auto pick) {
            Series s{name, colour, rerun, {}};
            for (const auto& z : sizes)
                s.points.emplace_back(static_cast<double>(z.records), pick(z, rerun ? z.rerun : z.first));
            return s;
        };
        auto procRate = [](const Sized& z, const Pass& p) { return rate(z.records, p.process); };
        auto floorRate = [](const Sized& z, const Pass& p) { return rate(z.records, p.floor); };
        auto floorWalRate = [](const Sized& z, const Pass& p) { return rate(z.records, p.floorWal); };
        auto setRate = [](const Sized& z, const Pass& p) { return rate(z.records, p.windowed); };
        auto peak = [](const Sized&, const Pass& p) { return p.process.peakKiB / 1024.0; };
        Panel rates{"Conversion speed", "records per second", false, {}};
        rates.series = {
            series("ktvedaz-cli convert, first run", "#c0392b", false, procRate),
            series("ktvedaz-cli convert, rerun onto full databases", "#c0392b", true, procRate),
            series("SQLite floor (prepared lookup + insert), first run", "#2471a3", false, floorRate),
            series("SQLite floor, rerun", "#2471a3", true, floorRate),
            series("SQLite floor with the program's write-ahead log, first run", "#8e44ad", false,
                   floorWalRate),
            series("the same, rerun", "#8e44ad", true, floorWalRate),
            series("set-based INSERT ... SELECT, first run", "#229954", false, setRate),
            series("set-based, rerun", "#229954", true, setRate)};
        Panel memory{"Peak resident memory of the convert process", "MiB", false, {}};
        memory.series = {series("first run", "#c0392b", false, peak), series("rerun", "#c0392b", true, peak)};
        std::ofstream svg(o.svg, std::ios::binary);
        svg << svgChart("KTVedaz conversion: speed and memory against the number of records",
                        where + ", best of " + std::to_string(reps), {rates, memory});
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (argc >= 3 && std::strcmp(argv[1], kMeasureArgument) == 0)
        return runMeasured(argv + 2);
    if ((argc == 4 || (argc == 5 && std::strcmp(argv[4], "--wal") == 0)) &&
        std::strcmp(argv[1], "--floor") == 0) {
        std::printf(
            "floor: %.2f s\n",
            floorRun(argv[2], argv[3], argc == 5 ? FloorJournal::ProgramWal : FloorJournal::Rollback));
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::printf(
                "Usage: ktvedaz-bench-convert [records-in-all=1000000] [--reps R=3]\n"
                "       ktvedaz-bench-convert --scaling [--max N=1000000] [--reps R=2] [--csv FILE] "
                "[--svg FILE]\n"
                "       ktvedaz-bench-convert --floor SOURCE TARGET [--wal]\n"
                "       ktvedaz-bench-convert --server CONNINFO [records-in-all=1000000] [--reps R=3]\n"
                "         (CONNINFO: a database for the benchmark alone; its schemas sabit,\n"
                "         ktfim_1_2005 and ktv_bench_floor are replaced)\n"
                "See docs/performance.md.\n");
            return 0;
        }
        if (a == "--scaling")
            o.scaling = true;
        else if (a == "--max")
            o.maxRecords = std::atol(next().c_str());
        else if (a == "--reps")
            o.reps = std::atoi(next().c_str());
        else if (a == "--csv")
            o.csv = next();
        else if (a == "--svg")
            o.svg = next();
        else if (a == "--server")
            o.server = next();
        else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos)
            o.records = std::atol(a.c_str());
        else {
            std::fprintf(stderr, "unknown argument '%s' (see --help)\n", a.c_str());
            return 2;
        }
    }
    Paths paths;
    paths.templates = fs::path(ktv::ExecutableFolder()).parent_path() / "app";
    paths.cli = paths.templates / "ktvedaz-cli";
    paths.work = fs::temp_directory_path() / ("ktvbench." + std::to_string(getpid()));
    fs::create_directories(paths.work);
    int rc = 0;
    if (!o.server.empty())
        rc = serverBench({paths.cli, paths.templates, paths.work, o.server, machine()}, o.records,
                         o.reps > 0 ? o.reps : 3);
    else
        rc = o.scaling ? scaling(paths, o) : single(paths, o);
    fs::remove_all(paths.work);
    return rc;
}
