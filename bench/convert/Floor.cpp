// The floor does what a careful hand-written C loop would: read each column as text, trim
// blanks, cut to the column's characters, look the key up, insert when it is new.
#include "Floor.h"

#include "FloorValues.h"

#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ktv::bench {

namespace {

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "floor: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    return st;
}

void bind(sqlite3_stmt* st, int i, std::string_view s)
{
    sqlite3_bind_text(st, i, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
}

// Steps the lookup; true when the key is new. The lookup is reset for the next record.
bool isNew(sqlite3_stmt* lookup)
{
    const int rc = sqlite3_step(lookup);
    check(rc, sqlite3_db_handle(lookup));
    sqlite3_reset(lookup);
    return rc == SQLITE_DONE;
}

void insert(sqlite3_stmt* st)
{
    check(sqlite3_step(st), sqlite3_db_handle(st));
    sqlite3_reset(st);
}

void vehicles(sqlite3* src, sqlite3* db)
{
    sqlite3_stmt* walk = prepare(src, "SELECT Kod, Isim, Plaka FROM AracKarti ORDER BY rowid");
    sqlite3_stmt* lookup = prepare(db, "SELECT rowid FROM AracKarti WHERE AracKod = ?1");
    sqlite3_stmt* add =
        prepare(db, "INSERT INTO AracKarti (AracKod, SurucuAd, AracPlaka) VALUES (?1, ?2, ?3)");
    while (sqlite3_step(walk) == SQLITE_ROW) {
        const std::string_view key = cut(text(walk, 0), 10);
        bind(lookup, 1, key);
        if (!isNew(lookup))
            continue;
        bind(add, 1, key);
        bind(add, 2, cut(text(walk, 1), 50));
        bind(add, 3, cut(text(walk, 2), 15));
        insert(add);
    }
    for (sqlite3_stmt* st : {walk, lookup, add})
        sqlite3_finalize(st);
}

void dealers(sqlite3* src, sqlite3* db)
{
    sqlite3_stmt* walk =
        prepare(src, "SELECT Kod, Isim, Yetkili, AracKod, Adres, Semt, Sehir, TelFaks, VD, VN, Kredi, "
                     "Durum FROM CariKart ORDER BY rowid");
    sqlite3_stmt* lookup = prepare(db, "SELECT rowid FROM CariKart WHERE Tip = 'BAY' AND Kod = ?1");
    sqlite3_stmt* add =
        prepare(db, "INSERT INTO CariKart (Tip, Kod, Ad, Yetkili, AracKod, Adres, SemtIlce, Sehir, "
                    "Telefon, Fax, VergiDaire, VergiNo, KrediLimit, Statu) "
                    "VALUES ('BAY', ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?8, ?9, ?10, ?11, ?12)");
    static const std::size_t lengths[] = {10, 50, 100, 10, std::string_view::npos, 50, 50, 15, 50, 50};
    while (sqlite3_step(walk) == SQLITE_ROW) {
        const std::string_view key = cut(text(walk, 0), 10);
        bind(lookup, 1, key);
        if (!isNew(lookup))
            continue;
        for (int i = 0; i < 10; ++i)
            bind(add, i + 1, cut(text(walk, i), lengths[i]));
        sqlite3_bind_double(add, 11, number(text(walk, 10)));
        sqlite3_bind_int(add, 12, text(walk, 11) == "Çalışıyor" ? 0 : 1);
        insert(add);
    }
    for (sqlite3_stmt* st : {walk, lookup, add})
        sqlite3_finalize(st);
}

void stock(sqlite3* src, sqlite3* db)
{
    sqlite3_stmt* walk = prepare(
        src, "SELECT Tip, Kod, Isim, Birim1, Katsayi, Birim2, KDV, Duzey FROM StokKarti ORDER BY rowid");
    sqlite3_stmt* lookup = prepare(db, "SELECT rowid FROM StokKart WHERE Tip = ?1 AND Kod = ?2");
    sqlite3_stmt* add =
        prepare(db, "INSERT INTO StokKart (Tip, Kod, Ad, Birim1, Katsayi, Birim2, KDV, Durum) "
                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    while (sqlite3_step(walk) == SQLITE_ROW) {
        const std::string_view tip = text(walk, 0);
        const char* kind = stockKind(tip);
        if (!kind)
            continue;
        const std::string_view key = cut(text(walk, 1), 10);
        bind(lookup, 1, kind);
        bind(lookup, 2, key);
        if (!isNew(lookup))
            continue;
        bind(add, 1, kind);
        bind(add, 2, key);
        bind(add, 3, cut(text(walk, 2), 50));
        bind(add, 4, cut(text(walk, 3), 10));
        sqlite3_bind_int64(add, 5, static_cast<sqlite3_int64>(std::nearbyint(number(text(walk, 4)))));
        bind(add, 6, cut(text(walk, 5), 10));
        sqlite3_bind_int(add, 7, static_cast<int>(std::nearbyint(number(text(walk, 6)))));
        bind(add, 8, cut(text(walk, 7), 3));
        insert(add);
    }
    for (sqlite3_stmt* st : {walk, lookup, add})
        sqlite3_finalize(st);
}

} // namespace

double floorRun(const std::filesystem::path& source, const std::filesystem::path& target,
                FloorJournal journal)
{
    const auto t0 = std::chrono::steady_clock::now();
    sqlite3* src = nullptr;
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(source.c_str(), &src, SQLITE_OPEN_READONLY, nullptr), src);
    check(sqlite3_open_v2(target.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    if (journal == FloorJournal::ProgramWal)
        check(sqlite3_exec(
                  db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA wal_autocheckpoint=10000",
                  nullptr, nullptr, nullptr),
              db);
    check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
    vehicles(src, db);
    dealers(src, db);
    stock(src, db);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(src);
    sqlite3_close(db);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace ktv::bench
