// The conversion onto a PostgreSQL server: the ktvedaz-cli convert --server process beside the
// same process onto the DATA folder and the server's COPY floor, best of several interleaved
// runs, with the round trips the process made and its peak memory, against the goals.
#pragma once

#include <filesystem>
#include <string>

namespace ktv::bench {

struct ServerBenchSetup {
    std::filesystem::path cli, templates, work; // the tool, its program folder, a scratch folder
    std::string conninfo;                       // a database for the benchmark alone
    std::string machine;                        // the machine line of the printout
};

int serverBench(const ServerBenchSetup& setup, long records, int reps);

} // namespace ktv::bench
