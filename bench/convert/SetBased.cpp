// The set-based forms write exactly the cards the per-record run writes; the printout of
// the cards written shows it.
#include "SetBased.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace ktv::bench {

namespace {

void exec(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "baseline: %s\n", err ? err : "?");
        std::exit(1);
    }
}

} // namespace

long cards(const fs::path& database)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    long total = 0;
    for (const char* table : {"AracKarti", "CariKart", "StokKart"}) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, ("SELECT count(*) FROM " + std::string(table)).c_str(), -1, &st,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            total += sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return total;
}

double setBased(const fs::path& target, const fs::path& source, Baseline variant)
{
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
        "INSERT INTO CariKart (Tip, Kod, Ad, Yetkili, AracKod, Adres, SemtIlce, Sehir, Telefon, Fax, "
        "VergiDaire, "
        "VergiNo, KrediLimit, Statu) "
        "SELECT 'BAY', k, substr(trim(coalesce(Isim,'')),1,50), substr(trim(coalesce(Yetkili,'')),1,100), "
        "substr(trim(coalesce(AracKod,'')),1,10), trim(coalesce(Adres,'')), "
        "substr(trim(coalesce(Semt,'')),1,50), "
        "substr(trim(coalesce(Sehir,'')),1,50), substr(trim(coalesce(TelFaks,'')),1,15), "
        "substr(trim(coalesce(TelFaks,'')),1,15), substr(trim(coalesce(VD,'')),1,50), "
        "substr(trim(coalesce(VN,'')),1,50), "
        "CAST(coalesce(Kredi,0) AS INTEGER), CASE WHEN trim(coalesce(Durum,'')) = 'Çalışıyor' THEN 0 ELSE 1 "
        "END FROM ";
    const std::string stock =
        "INSERT INTO StokKart (Tip, Kod, Ad, Birim1, Katsayi, Birim2, KDV, Durum) "
        "SELECT kind, k, substr(trim(coalesce(Isim,'')),1,50), substr(trim(coalesce(Birim1,'')),1,10), "
        "CAST(round(coalesce(Katsayi,0)) AS INTEGER), substr(trim(coalesce(Birim2,'')),1,10), "
        "CAST(round(coalesce(KDV,0)) AS INTEGER), substr(trim(coalesce(Duzey,'')),1,3) FROM ";
    const std::string newVehicle = " AND NOT EXISTS (SELECT 1 FROM AracKarti t WHERE t.AracKod = s.k)";
    const std::string newDealer =
        " AND NOT EXISTS (SELECT 1 FROM CariKart t WHERE t.Tip = 'BAY' AND t.Kod = s.k)";
    const std::string newStock =
        " AND NOT EXISTS (SELECT 1 FROM StokKart t WHERE t.Tip = s.kind AND t.Kod = s.k)";
    if (variant == Baseline::Windowed) {
        // The first record of each key wins: number the records of a key in source order.
        const std::string numbered =
            ", row_number() OVER (PARTITION BY upper(" + code + ") ORDER BY rowid) AS n ";
        exec(db, (vehicles + "(SELECT " + code + " AS k, Isim, Plaka" + numbered +
                  "FROM src.AracKarti) s WHERE n = 1" + newVehicle)
                     .c_str());
        exec(db, (dealers + "(SELECT " + code + " AS k, *" + numbered + "FROM src.CariKart) s WHERE n = 1" +
                  newDealer)
                     .c_str());
        exec(db, (stock +
                  "(SELECT kind, k, Isim, Birim1, Katsayi, Birim2, KDV, Duzey, "
                  "row_number() OVER (PARTITION BY kind, upper(k) ORDER BY r) AS n FROM (SELECT " +
                  kind + " AS kind, " + code +
                  " AS k, *, rowid AS r FROM src.StokKarti) WHERE kind IS NOT NULL) s "
                  "WHERE n = 1" +
                  newStock)
                     .c_str());
    } else {
        // The first record of each key found through an expression index on the source.
        auto first = [&](const char* table) {
            return "r = (SELECT min(rowid) FROM src." + std::string(table) +
                   " x WHERE substr(trim(coalesce(x.Kod,'')),1,10) = s.k";
        };
        exec(db,
             (vehicles + "(SELECT " + code + " AS k, Isim, Plaka, rowid AS r FROM src.AracKarti) s WHERE " +
              first("AracKarti") + ")" + newVehicle)
                 .c_str());
        exec(db, (dealers + "(SELECT " + code + " AS k, *, rowid AS r FROM src.CariKart) s WHERE " +
                  first("CariKart") + ")" + newDealer)
                     .c_str());
        exec(db, (stock + "(SELECT " + kind + " AS kind, " + code +
                  " AS k, *, rowid AS r FROM src.StokKarti) s "
                  "WHERE kind IS NOT NULL AND " +
                  first("StokKarti") + " AND " +
                  "CASE trim(coalesce(x.Tip,'')) WHEN 'Ürün' THEN 'U' WHEN 'Ara Ürün' THEN 'A' WHEN "
                  "'Malzeme' THEN 'M' END "
                  "= s.kind)" +
                  newStock)
                     .c_str());
    }
    exec(db, "COMMIT");
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    sqlite3_close(db);
    return s;
}

double buildSourceIndex(const fs::path& source)
{
    const auto t0 = Clock::now();
    sqlite3* db = nullptr;
    sqlite3_open(source.c_str(), &db);
    exec(db, "CREATE INDEX IF NOT EXISTS bench_a ON AracKarti(substr(trim(coalesce(Kod,'')),1,10))");
    exec(db, "CREATE INDEX IF NOT EXISTS bench_c ON CariKart(substr(trim(coalesce(Kod,'')),1,10))");
    exec(db, "CREATE INDEX IF NOT EXISTS bench_s ON StokKarti(substr(trim(coalesce(Kod,'')),1,10))");
    sqlite3_close(db);
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

} // namespace ktv::bench
