// Each run is a child process, so its peak memory is its own and it starts as cold as an
// operator's run would.
#include "Runs.h"

#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/CliHost.h"
#include "convert/ConversionRun.h"
#include "data/CompanyDatabases.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace ktv::bench {

namespace {

RunResult finish(pid_t pid, const char* what)
{
    int status = 0;
    struct rusage ru {};
    wait4(pid, &status, 0, &ru);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the %s failed\n", what);
        std::exit(1);
    }
    RunResult r;
    r.peakKiB = ru.ru_maxrss;
    return r;
}

} // namespace

fs::path yearDatabase(const fs::path& app) { return app / "DATA" / "1" / "2005" / "KTFIM.mdb"; }

RunResult wholeProcess(const fs::path& cli, const fs::path& app, const fs::path& source,
                       const std::vector<std::string>& extra)
{
    // The kernel counts a child's peak memory from the moment it is forked, so a process
    // forked from this benchmark (grown by the set-based runs) would report at least the
    // benchmark's own size. The convert process is started from a fresh copy of this program
    // instead (see runMeasured), which times it and reports its own peak.
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<std::string> args = {self,        kMeasureArgument, cli.string(),    "convert",   "--type",
                                     "KTD",       "--source",       source.string(), "--company", "1",
                                     "--year",    "2005",           "--name",        "Bench",     "--root",
                                     app.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    RunResult measured;
    const bool got = read(fds[0], &measured, sizeof measured) == sizeof measured;
    close(fds[0]);
    finish(pid, "ktvedaz-cli convert");
    if (!got)
        std::exit(1);
    return measured;
}

int runMeasured(char** argv)
{
    // argv: the program and its arguments. Standard output is the pipe to the benchmark.
    const int report = dup(STDOUT_FILENO);
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        close(report);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    struct rusage ru {};
    wait4(pid, &status, 0, &ru);
    RunResult r;
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    r.peakKiB = ru.ru_maxrss;
    if (write(report, &r, sizeof r) != sizeof r)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

RunResult inProcess(const fs::path& app, const fs::path& source)
{
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // The run's closing message goes to standard error; the printout has no use for it.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        InitAppPath(app.string());
        CompanyDatabases set;
        cli::CliHost host(false);
        ConversionRun run(set, host);
        const auto t0 = Clock::now();
        run.Cmd_CevrimYap(benchRequest(source));
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        if (write(fds[1], &s, sizeof s) != sizeof s)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double seconds = 0;
    const bool got = read(fds[0], &seconds, sizeof seconds) == sizeof seconds;
    close(fds[0]);
    RunResult r = finish(pid, "in-process run");
    if (!got)
        std::exit(1);
    r.seconds = seconds;
    return r;
}

} // namespace ktv::bench
