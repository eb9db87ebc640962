// Conversion speed: the wizard's per-record run (lookup, add, one update per card, a yield
// before every record) against the same work done set-based in one SQLite transaction.
// Prints records per second of both, their ratio, and the peak resident memory of the
// per-record run at two sizes (it must not grow with the number of records).
//
// Usage: ktvedaz-bench-convert [records-in-all=1000000]
#include "BenchSupport.h"
#include "app/AppPath.h"
#include "cli/CliHost.h"
#include "cli/Cli.h"
#include "convert/ConversionRun.h"
#include "data/CompanyDatabases.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

using ktv::bench::programFolder;

struct RunResult {
    double seconds = 0;
    long peakKiB = 0;
};

// The per-record run in a child process, so its peak memory is its own.
RunResult perRecord(const fs::path& app, const fs::path& source)
{
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        ktv::InitAppPath(app.string());
        ktv::CompanyDatabases set;
        ktv::cli::CliHost host(false);
        ktv::ConversionRun run(set, host);
        const auto t0 = Clock::now();
        run.Cmd_CevrimYap(ktv::bench::benchRequest(source));
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        if (write(fds[1], &s, sizeof s) != sizeof s)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    RunResult result;
    if (read(fds[0], &result.seconds, sizeof result.seconds) != sizeof result.seconds)
        std::fprintf(stderr, "the per-record run failed\n");
    close(fds[0]);
    int status = 0;
    struct rusage ru {};
    wait4(pid, &status, 0, &ru);
    result.peakKiB = ru.ru_maxrss;
    return result;
}

void exec(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "baseline: %s\n", err ? err : "?");
        std::exit(1);
    }
}

// Cards in the three target tables, so the printout shows that every form did the same work.
long cards(const fs::path& database)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    long total = 0;
    for (const char* table : {"AracKarti", "CariKart", "StokKart"}) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + std::string(table)).c_str(), -1, &st, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            total += sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return total;
}

enum class Baseline { Windowed, Indexed };

// The same cleaning and the same first-record-wins key rule, one statement per table, in
// one transaction. Windowed numbers the records of each key (all work timed); Indexed looks
// the first record of a key up through an expression index built on the source beforehand
// (the index is not timed), the fastest set-based form found.
double setBased(const fs::path& app, const fs::path& source, Baseline variant)
{
    const fs::path target = app / "KTFIM.mdb";
    fs::copy_file(app / "KTFIM.mdx", target, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_open(target.c_str(), &db);
    const auto t0 = Clock::now();
    exec(db, ("ATTACH DATABASE '" + source.string() + "' AS src").c_str());
    exec(db, "BEGIN IMMEDIATE");
    // What each table writes, cleaned as the transfers clean it; only the choice of the
    // first record of a key differs between the two forms.
    const std::string code = "substr(trim(coalesce(Kod,'')),1,10)";
    const std::string kind = "CASE trim(coalesce(Tip,'')) WHEN 'Ürün' THEN 'U' WHEN 'Ara Ürün' THEN 'A' "
                             "WHEN 'Malzeme' THEN 'M' END";
    const std::string vehicles =
        "INSERT INTO AracKarti (AracKod, SurucuAd, AracPlaka) "
        "SELECT k, substr(trim(coalesce(Isim,'')),1,50), substr(trim(coalesce(Plaka,'')),1,15) FROM ";
    const std::string dealers =
        "INSERT INTO CariKart (Tip, Kod, Ad, Yetkili, AracKod, Adres, SemtIlce, Sehir, Telefon, Fax, VergiDaire, "
        "VergiNo, KrediLimit, Statu) "
        "SELECT 'BAY', k, substr(trim(coalesce(Isim,'')),1,50), substr(trim(coalesce(Yetkili,'')),1,100), "
        "substr(trim(coalesce(AracKod,'')),1,10), trim(coalesce(Adres,'')), substr(trim(coalesce(Semt,'')),1,50), "
        "substr(trim(coalesce(Sehir,'')),1,50), substr(trim(coalesce(TelFaks,'')),1,15), "
        "substr(trim(coalesce(TelFaks,'')),1,15), substr(trim(coalesce(VD,'')),1,50), substr(trim(coalesce(VN,'')),1,50), "
        "CAST(coalesce(Kredi,0) AS INTEGER), CASE WHEN trim(coalesce(Durum,'')) = 'Çalışıyor' THEN 0 ELSE 1 END FROM ";
    const std::string stock =
        "INSERT INTO StokKart (Tip, Kod, Ad, Birim1, Katsayi, Birim2, KDV, Durum) "
        "SELECT kind, k, substr(trim(coalesce(Isim,'')),1,50), substr(trim(coalesce(Birim1,'')),1,10), "
        "CAST(round(coalesce(Katsayi,0)) AS INTEGER), substr(trim(coalesce(Birim2,'')),1,10), "
        "CAST(round(coalesce(KDV,0)) AS INTEGER), substr(trim(coalesce(Duzey,'')),1,3) FROM ";
    const std::string newVehicle = " AND NOT EXISTS (SELECT 1 FROM AracKarti t WHERE t.AracKod = s.k)";
    const std::string newDealer = " AND NOT EXISTS (SELECT 1 FROM CariKart t WHERE t.Tip = 'BAY' AND t.Kod = s.k)";
    const std::string newStock = " AND NOT EXISTS (SELECT 1 FROM StokKart t WHERE t.Tip = s.kind AND t.Kod = s.k)";
    if (variant == Baseline::Windowed) {
        // The first record of each key wins: number the records of a key in source order.
        const std::string numbered = ", row_number() OVER (PARTITION BY upper(" + code + ") ORDER BY rowid) AS n ";
        exec(db, (vehicles + "(SELECT " + code + " AS k, Isim, Plaka" + numbered + "FROM src.AracKarti) s WHERE n = 1" +
                  newVehicle).c_str());
        exec(db, (dealers + "(SELECT " + code + " AS k, *" + numbered + "FROM src.CariKart) s WHERE n = 1" + newDealer)
                     .c_str());
        exec(db, (stock + "(SELECT kind, k, Isim, Birim1, Katsayi, Birim2, KDV, Duzey, "
                          "row_number() OVER (PARTITION BY kind, upper(k) ORDER BY r) AS n FROM (SELECT " +
                  kind + " AS kind, " + code + " AS k, *, rowid AS r FROM src.StokKarti) WHERE kind IS NOT NULL) s "
                         "WHERE n = 1" + newStock)
                     .c_str());
    } else {
        // The first record of each key found through an expression index on the source.
        auto first = [&](const char* table) {
            return "r = (SELECT min(rowid) FROM src." + std::string(table) + " x WHERE substr(trim(coalesce(x.Kod,'')),1,10) = s.k";
        };
        exec(db, (vehicles + "(SELECT " + code + " AS k, Isim, Plaka, rowid AS r FROM src.AracKarti) s WHERE " +
                  first("AracKarti") + ")" + newVehicle).c_str());
        exec(db, (dealers + "(SELECT " + code + " AS k, *, rowid AS r FROM src.CariKart) s WHERE " + first("CariKart") +
                  ")" + newDealer).c_str());
        exec(db, (stock + "(SELECT " + kind + " AS kind, " + code + " AS k, *, rowid AS r FROM src.StokKarti) s "
                          "WHERE kind IS NOT NULL AND " + first("StokKarti") + " AND " +
                  "CASE trim(coalesce(x.Tip,'')) WHEN 'Ürün' THEN 'U' WHEN 'Ara Ürün' THEN 'A' WHEN 'Malzeme' THEN 'M' END "
                  "= s.kind)" + newStock).c_str());
    }
    exec(db, "COMMIT");
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    sqlite3_close(db);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const long total = argc > 1 ? std::atol(argv[1]) : 1000000;
    const long perTable = total / 3;
    const fs::path templates = fs::path(ktv::ExecutableFolder()).parent_path() / "app";
    const fs::path work = fs::temp_directory_path() / ("ktvbench." + std::to_string(getpid()));
    fs::create_directories(work);

    std::printf("records in all: %ld (%ld per table)\n", perTable * 3, perTable);
    RunResult small;
    {
        const fs::path src = work / "small.ktd";
        ktv::cli::WriteSampleSource(src.string(), "KTD", perTable / 10, 1, "7183");
        small = perRecord(programFolder(work / "small", templates), src);
    }
    const fs::path src = work / "bench.ktd";
    ktv::cli::WriteSampleSource(src.string(), "KTD", perTable, 1, "7183");
    const RunResult big = perRecord(programFolder(work / "big", templates), src);
    const double windowed = setBased(programFolder(work / "base1", templates), src, Baseline::Windowed);
    const auto indexStart = Clock::now();
    {
        sqlite3* db = nullptr;
        sqlite3_open(src.c_str(), &db);
        exec(db, "CREATE INDEX bench_a ON AracKarti(substr(trim(coalesce(Kod,'')),1,10))");
        exec(db, "CREATE INDEX bench_c ON CariKart(substr(trim(coalesce(Kod,'')),1,10))");
        exec(db, "CREATE INDEX bench_s ON StokKarti(substr(trim(coalesce(Kod,'')),1,10))");
        sqlite3_close(db);
    }
    const double indexing = std::chrono::duration<double>(Clock::now() - indexStart).count();
    const double indexed = setBased(programFolder(work / "base2", templates), src, Baseline::Indexed);

    const double n = static_cast<double>(perTable * 3);
    std::printf("per-record run          : %10.0f records/s (%.2f s)\n", n / big.seconds, big.seconds);
    std::printf("set-based, windowed     : %10.0f records/s (%.2f s)\n", n / windowed, windowed);
    std::printf("set-based, source index : %10.0f records/s (%.2f s, +%.2f s to build the index)\n", n / indexed,
                indexed, indexing);
    std::printf("ratio (per-record time / set-based time): %.2f windowed, %.2f with the source index "
                "(%.2f counting the index build)\n",
                big.seconds / windowed, big.seconds / indexed, big.seconds / (indexed + indexing));
    std::printf("peak resident memory: %.1f MiB at %ld records, %.1f MiB at %ld records\n", small.peakKiB / 1024.0,
                perTable / 10 * 3, big.peakKiB / 1024.0, perTable * 3);
    std::printf("cards written: %ld per-record, %ld windowed, %ld with the source index\n",
                cards(work / "big/DATA/1/2005/KTFIM.mdb"), cards(work / "base1/KTFIM.mdb"), cards(work / "base2/KTFIM.mdb"));
    fs::remove_all(work);
    return 0;
}
