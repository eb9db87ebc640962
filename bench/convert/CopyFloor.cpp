// COPY's text format carries every value as text, escaped; the server converts it to the
// column's type as the program's parameters are converted.
#include "CopyFloor.h"

#include "FloorValues.h"
#include "data/Schema.h"
#include "data/TemplateSchemas.h"
#include "data/pg/PgSchema.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace ktv::bench {

namespace {

[[noreturn]] void die(const char* what, PGconn* c)
{
    std::fprintf(stderr, "server floor: %s: %s\n", what, c ? PQerrorMessage(c) : "no connection");
    std::exit(1);
}

PGconn* connect(const std::string& conninfo)
{
    // The connection text expanded as the program expands it, in the program's encoding.
    const char* keys[] = {"dbname", "client_encoding", nullptr};
    const char* values[] = {conninfo.c_str(), "UTF8", nullptr};
    PGconn* c = PQconnectdbParams(keys, values, 1);
    if (PQstatus(c) != CONNECTION_OK)
        die("connect", c);
    return c;
}

void run(PGconn* c, const std::string& sql, ExecStatusType expected = PGRES_COMMAND_OK)
{
    PGresult* r = PQexec(c, sql.c_str());
    if (PQresultStatus(r) != expected)
        die(sql.c_str(), c);
    PQclear(r);
}

// One table's COPY: rows are appended in COPY's text form and sent in pieces of about 64 KiB.
class Copy {
public:
    Copy(PGconn* c, const std::string& table, const char* columns) : m_c(c)
    {
        run(c, "COPY " + table + " (" + columns + ") FROM STDIN", PGRES_COPY_IN);
    }
    void field(std::string_view v)
    {
        if (!m_first)
            m_buf += '\t';
        m_first = false;
        for (char ch : v)
            switch (ch) {
            case '\\': m_buf += "\\\\"; break;
            case '\t': m_buf += "\\t"; break;
            case '\n': m_buf += "\\n"; break;
            case '\r': m_buf += "\\r"; break;
            default: m_buf += ch;
            }
    }
    void field(long long v) { field(std::string_view(std::to_string(v))); }
    void endRow()
    {
        m_buf += '\n';
        m_first = true;
        if (m_buf.size() >= 65536)
            send();
    }
    void finish()
    {
        send();
        if (PQputCopyEnd(m_c, nullptr) != 1)
            die("copy end", m_c);
        PGresult* r = PQgetResult(m_c);
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            die("copy", m_c);
        PQclear(r);
        PQclear(PQgetResult(m_c));
    }

private:
    void send()
    {
        if (!m_buf.empty() && PQputCopyData(m_c, m_buf.data(), static_cast<int>(m_buf.size())) != 1)
            die("copy data", m_c);
        m_buf.clear();
    }
    PGconn* m_c;
    std::string m_buf;
    bool m_first = true;
};

sqlite3_stmt* walk(sqlite3* src, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(src, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "server floor: %s\n", sqlite3_errmsg(src));
        std::exit(1);
    }
    return st;
}

// True the first time a key is met: keys compare without regard to ASCII letter case.
bool firstTime(std::unordered_set<std::string>& seen, std::string_view a, std::string_view b = {})
{
    std::string k(a);
    k += '\x1f';
    k += b;
    for (char& ch : k)
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    return seen.insert(std::move(k)).second;
}

void vehicles(sqlite3* src, PGconn* c, const std::string& s)
{
    sqlite3_stmt* st = walk(src, "SELECT Kod, Isim, Plaka FROM AracKarti ORDER BY rowid");
    Copy copy(c, s + ".\"AracKarti\"", "\"AracKod\", \"SurucuAd\", \"AracPlaka\"");
    std::unordered_set<std::string> seen;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string_view key = cut(text(st, 0), 10);
        if (!firstTime(seen, key))
            continue;
        copy.field(key);
        copy.field(cut(text(st, 1), 50));
        copy.field(cut(text(st, 2), 15));
        copy.endRow();
    }
    copy.finish();
    sqlite3_finalize(st);
}

void dealers(sqlite3* src, PGconn* c, const std::string& s)
{
    sqlite3_stmt* st = walk(src, "SELECT Kod, Isim, Yetkili, AracKod, Adres, Semt, Sehir, TelFaks, VD, VN, "
                                 "Kredi, Durum FROM CariKart ORDER BY rowid");
    Copy copy(c, s + ".\"CariKart\"",
              "\"Tip\", \"Kod\", \"Ad\", \"Yetkili\", \"AracKod\", \"Adres\", \"SemtIlce\", \"Sehir\", "
              "\"Telefon\", \"Fax\", \"VergiDaire\", \"VergiNo\", \"KrediLimit\", \"Statu\"");
    static const std::size_t lengths[] = {10, 50, 100, 10, std::string_view::npos, 50, 50, 15, 50, 50};
    std::unordered_set<std::string> seen;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const std::string_view key = cut(text(st, 0), 10);
        if (!firstTime(seen, key))
            continue;
        copy.field("BAY");
        for (int i = 0; i < 10; ++i) {
            copy.field(cut(text(st, i), lengths[i]));
            if (i == 7) // the same number is the telephone and the fax
                copy.field(cut(text(st, i), lengths[i]));
        }
        char credit[64];
        std::snprintf(credit, sizeof credit, "%.4f", number(text(st, 10)));
        copy.field(std::string_view(credit));
        copy.field(text(st, 11) == "Çalışıyor" ? 0LL : 1LL);
        copy.endRow();
    }
    copy.finish();
    sqlite3_finalize(st);
}

void stock(sqlite3* src, PGconn* c, const std::string& s)
{
    sqlite3_stmt* st =
        walk(src, "SELECT Tip, Kod, Isim, Birim1, Katsayi, Birim2, KDV, Duzey FROM StokKarti ORDER BY rowid");
    Copy copy(c, s + ".\"StokKart\"",
              "\"Tip\", \"Kod\", \"Ad\", \"Birim1\", \"Katsayi\", \"Birim2\", \"KDV\", \"Durum\"");
    std::unordered_set<std::string> seen;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const char* kind = stockKind(text(st, 0));
        if (!kind)
            continue;
        const std::string_view key = cut(text(st, 1), 10);
        if (!firstTime(seen, kind, key))
            continue;
        copy.field(std::string_view(kind));
        copy.field(key);
        copy.field(cut(text(st, 2), 50));
        copy.field(cut(text(st, 3), 10));
        copy.field(std::llround(number(text(st, 4))));
        copy.field(cut(text(st, 5), 10));
        copy.field(std::llround(number(text(st, 6))));
        copy.field(cut(text(st, 7), 3));
        copy.endRow();
    }
    copy.finish();
    sqlite3_finalize(st);
}

std::string quoted(PGconn* c, const std::string& name)
{
    char* q = PQescapeIdentifier(c, name.data(), name.size());
    std::string out(q ? q : "");
    PQfreemem(q);
    return out;
}

} // namespace

void serverExec(const std::string& conninfo, const std::string& sql)
{
    PGconn* c = connect(conninfo);
    run(c, "SET client_min_messages = warning");
    run(c, sql);
    PQfinish(c);
}

long serverCards(const std::string& conninfo, const std::string& schema)
{
    PGconn* c = connect(conninfo);
    const std::string s = quoted(c, schema);
    PGresult* r =
        PQexec(c, ("SELECT (SELECT count(*) FROM " + s + ".\"AracKarti\") + (SELECT count(*) FROM " + s +
                   ".\"CariKart\") + (SELECT count(*) FROM " + s + ".\"StokKart\")")
                      .c_str());
    if (PQresultStatus(r) != PGRES_TUPLES_OK)
        die("count", c);
    const long n = std::atol(PQgetvalue(r, 0, 0));
    PQclear(r);
    PQfinish(c);
    return n;
}

double copyFloor(const std::string& conninfo, const std::filesystem::path& source, const std::string& schema)
{
    {
        // The same tables, types and unique folded-key indexes the program makes.
        dao::pg::PgConnection admin(conninfo);
        admin.exec("SET client_min_messages = warning");
        admin.exec("DROP SCHEMA IF EXISTS " + admin.ident(schema) + " CASCADE");
        dao::pg::ensureSchema(admin, schema, dao::parseSchema(TemplateSchema(CompanyDatabases::Ktfim)), true);
    }
    const auto t0 = std::chrono::steady_clock::now();
    sqlite3* src = nullptr;
    if (sqlite3_open_v2(source.c_str(), &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "server floor: cannot open %s\n", source.c_str());
        std::exit(1);
    }
    PGconn* c = connect(conninfo);
    const std::string s = quoted(c, schema);
    run(c, "BEGIN");
    vehicles(src, c, s);
    dealers(src, c, s);
    stock(src, c, s);
    run(c, "COMMIT");
    PQfinish(c);
    sqlite3_close(src);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace ktv::bench
