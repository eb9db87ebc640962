// Benchmark: rows per second reading one Jet table through our reader, against the
// mdb-export tool on the same table in the same run.
#include "BigJetFile.h"
#include "data/Dao.h"
#include "data/jet/JetFile.h"
#include "data/jet/JetTableReader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

double secondsOf(auto&& work)
{
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string testdata = argc > 1 ? argv[1] : KTV_JET_TESTDATA;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
    const auto dir = std::filesystem::temp_directory_path() / "ktv-jet-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "big.mdb").string();
    const long rows = ktv::bench::makeBigJetFile(testdata + "/password_V2003_no-password.mdb", path);

    long read = 0;
    double best = 1e9;
    for (int r = 0; r < repeats; ++r) {
        best = std::min(best, secondsOf([&] {
                            auto file = ktv::jet::JetFile::Open(path, "");
                            auto table = file->OpenTable("Table1");
                            read = 0;
                            std::size_t bytes = 0;
                            while (table->Next()) {
                                ++read;
                                for (std::size_t c = 0; c < table->ColumnNames().size(); ++c)
                                    bytes += table->Get(static_cast<int>(c)).isNull() ? 0 : 1;
                            }
                            if (bytes == 0)
                                std::abort();
                        }));
    }
    // The same table through the engine's surface, as the conversion reads a source table:
    // a snapshot walked with MoveNext, every field fetched by name.
    long viaEngine = 0;
    double bestEngine = 1e9;
    for (int r = 0; r < repeats; ++r) {
        bestEngine = std::min(bestEngine, secondsOf([&] {
                                  auto db = ktv::dao::Database::OpenDatabase(path, false, false, ";pwd=7183");
                                  auto rs = db->OpenRecordset("Table1", ktv::dao::RecordsetType::Snapshot);
                                  const auto names = rs->FieldNames();
                                  viaEngine = 0;
                                  std::size_t seen = 0;
                                  for (; !rs->Eof(); rs->MoveNext()) {
                                      ++viaEngine;
                                      for (const auto& n : names)
                                          seen += rs->Field(n).isNull() ? 0 : 1;
                                  }
                                  if (seen == 0)
                                      std::abort();
                              }));
    }
    double bestTool = 1e9;
    const std::string command = "mdb-export '" + path + "' Table1 > /dev/null 2>&1";
    for (int r = 0; r < repeats; ++r)
        bestTool = std::min(bestTool, secondsOf([&] {
                                if (std::system(command.c_str()) != 0)
                                    std::abort();
                            }));
    std::printf("table rows           %ld (read %ld)\n", rows, read);
    std::printf("reader               %.0f rows/s (%.4f s)\n", rows / best, best);
    std::printf("engine snapshot      %.0f rows/s (%.4f s)\n", rows / bestEngine, bestEngine);
    std::printf("mdb-export           %.0f rows/s (%.4f s)\n", rows / bestTool, bestTool);
    std::printf("reader / mdb-export  %.2f\n", bestTool / best);
    std::printf("engine / mdb-export  %.2f\n", bestTool / bestEngine);
    std::filesystem::remove_all(dir);
    return read == rows && viaEngine == rows ? 0 : 1;
}
