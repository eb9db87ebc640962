// The year schema is dropped before every first run, so each repetition starts as an operator's
// first conversion onto the server does; the register schema (sabit) is kept. The round trips
// are the statements' own, counted by the program's connections (KTV_PG_ROUND_TRIPS names the
// file each connection adds its count to when it closes); a connection's start-up is not
// counted.
#include "ServerBench.h"

#include "BenchSupport.h"
#include "CopyFloor.h"
#include "Runs.h"
#include "SetBased.h"
#include "cli/Cli.h"
#include "data/Database.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace ktv::bench {

namespace {

constexpr const char* kYearSchema = "ktfim_1_2005"; // company 1, year 2005: the runs' target
constexpr const char* kFloorSchema = "ktv_bench_floor";

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

struct ServerRun {
    Best best;
    double tripsPer1000 = 0; // of the last repetition (every repetition makes the same)
};

// The convert process onto the server, with its round trips counted.
void serverProcess(const ServerBenchSetup& s, const fs::path& app, const fs::path& source, long records,
                   ServerRun& into)
{
    const fs::path trips = s.work / "round-trips";
    fs::remove(trips);
    setenv("KTV_PG_ROUND_TRIPS", trips.c_str(), 1);
    into.best.add(wholeProcess(s.cli, app, source, {"--server", s.conninfo}));
    unsetenv("KTV_PG_ROUND_TRIPS");
    long total = 0;
    std::ifstream in(trips);
    for (long n = 0; in >> n;)
        total += n;
    into.tripsPer1000 = static_cast<double>(total) * 1000.0 / static_cast<double>(records);
}

void same(const char* what, long expected, long got)
{
    if (expected != got) {
        std::fprintf(stderr, "%s holds %ld cards, the DATA folder %ld\n", what, got, expected);
        std::exit(1);
    }
}

double rate(long records, const Best& b) { return static_cast<double>(records) / b.seconds; }

void line(const char* name, long records, const Best& b)
{
    std::printf("  %-42s: %9.0f records/s (%.2f s, peak %.1f MiB)\n", name, rate(records, b), b.seconds,
                b.peakKiB / 1024.0);
}

} // namespace

int serverBench(const ServerBenchSetup& s, long recordsInAll, int reps)
{
    const long perTable = recordsInAll / 3;
    const long records = perTable * 3;
    const fs::path source = s.work / ("source" + std::to_string(records) + ".ktd");
    cli::WriteSampleSource(source.string(), "KTD", perTable, 1, "7183");
    std::printf("machine: %s\n", s.machine.c_str());
    std::printf("server: %s\n", dao::ServerName(s.conninfo).c_str());
    std::printf("records in all: %ld, best of %d interleaved; load average before: %s\n", records, reps,
                loadAverage().c_str());
    std::fflush(stdout);

    ServerRun server, serverRerun;
    Best data, dataRerun, floor;
    for (int r = 0; r < reps; ++r) {
        const fs::path app = programFolder(s.work / "app", s.templates);
        serverExec(s.conninfo, std::string("DROP SCHEMA IF EXISTS ") + kYearSchema + " CASCADE");
        serverProcess(s, app, source, records, server);
        const long onServer = serverCards(s.conninfo, kYearSchema);
        serverProcess(s, app, source, records, serverRerun);
        same("the year schema after the rerun", onServer, serverCards(s.conninfo, kYearSchema));

        fs::remove_all(app / "DATA");
        data.add(wholeProcess(s.cli, app, source));
        const long inData = cards(yearDatabase(app));
        dataRerun.add(wholeProcess(s.cli, app, source));
        same("the year schema on the server", inData, onServer);

        floor.add(copyFloor(s.conninfo, source, kFloorSchema));
        same("the COPY floor's schema", inData, serverCards(s.conninfo, kFloorSchema));
    }
    serverExec(s.conninfo, std::string("DROP SCHEMA IF EXISTS ") + kFloorSchema + " CASCADE");
    fs::remove(source);

    std::printf("first run, into an empty year schema / an empty DATA folder\n");
    line("onto the server (convert --server)", records, server.best);
    line("onto the DATA folder (convert)", records, data);
    std::printf("  %-42s: %9.0f records/s (%.2f s)\n", "server floor (COPY, one transaction)",
                rate(records, floor), floor.seconds);
    std::printf("  %-42s: %.2f\n", "round trips per 1,000 records", server.tripsPer1000);
    std::printf("rerun, onto the full year schema / year database\n");
    line("onto the server (convert --server)", records, serverRerun.best);
    line("onto the DATA folder (convert)", records, dataRerun);
    std::printf("  %-42s: %.2f\n", "round trips per 1,000 records", serverRerun.tripsPer1000);
    std::printf("goals (first run)\n");
    std::printf("  %-42s: %.2f (goal: at most 1.5)\n", "server time / DATA folder time",
                server.best.seconds / data.seconds);
    std::printf("  %-42s: %.2f (goal: at least 0.5)\n", "server rate / COPY floor rate",
                floor.seconds / server.best.seconds);
    std::printf("  %-42s: %.2f (goal: at most 2)\n", "round trips per 1,000 records", server.tripsPer1000);
    std::printf("  %-42s: %.1f MiB (goal: at most 64 MiB)\n", "peak resident memory, server process",
                std::max(server.best.peakKiB, serverRerun.best.peakKiB) / 1024.0);
    std::printf("load average after: %s\n", loadAverage().c_str());
    return 0;
}

} // namespace ktv::bench
