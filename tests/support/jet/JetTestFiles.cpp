// Helpers of the Jet source tests (see JetTestFiles.h).
#include "support/jet/JetTestFiles.h"
#include "data/jet/JetFile.h"
#include "data/jet/JetTableReader.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace ktv::test {

namespace {

std::string shellQuoted(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

// mdb-export's CSV: comma-separated, text in double quotes with "" for a quote, and
// quoted text may hold line breaks.
std::vector<CsvRow> parseCsv(const std::string& text)
{
    std::vector<CsvRow> rows;
    CsvRow row;
    CsvField field;
    bool inQuotes = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.text += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
            continue;
        }
        if (c == '"') {
            inQuotes = true;
            field.quoted = true;
            any = true;
        } else if (c == ',') {
            row.push_back(field);
            field = {};
            any = true;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else if (c == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field = {};
            any = false;
        } else {
            field.text += c;
            any = true;
        }
    }
    if (any) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::string jetTestDataDir()
{
    if (const char* dir = std::getenv("KTV_JET_TESTDATA"))
        return dir;
    std::filesystem::path source =
        std::getenv("KTV_SOURCE_DIR")
            ? std::filesystem::path(std::getenv("KTV_SOURCE_DIR"))
            : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path();
    return (source / "tests" / "data" / "jet_files").string();
}

std::string copyJetFile(const TempDir& dir, const std::string& name)
{
    const auto target = dir.path() / name;
    std::filesystem::copy_file(std::filesystem::path(jetTestDataDir()) / name, target,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(target,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return target.string();
}

std::optional<std::vector<CsvRow>> mdbExport(const std::string& path, const std::string& table,
                                             bool binaryAsHex)
{
    if (std::system("command -v mdb-export >/dev/null 2>&1") != 0)
        return std::nullopt;
    const std::string command =
        std::string("env -u MDB_ICONV -u MDB_JET3_CHARSET LC_ALL=C mdb-export -0 N ") +
        (binaryAsHex ? "-b hex " : "") + "-D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' " +
        shellQuoted(path) + " " + shellQuoted(table) + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    if (::pclose(pipe) != 0)
        return std::nullopt;
    return parseCsv(out);
}

std::string jetDateText(double days)
{
    using namespace std::chrono;
    const double whole = std::floor(days);
    const auto seconds = static_cast<long long>(std::llround((days - whole) * 86400.0));
    const sys_days day = sys_days(1899y / December / 30) + std::chrono::days(static_cast<long long>(whole));
    const year_month_day ymd(day);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02lld:%02lld:%02lld", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
    return buf;
}

std::vector<std::vector<Value>> readJetTable(const std::string& path, const std::string& password,
                                             const std::string& table)
{
    auto file = jet::JetFile::Open(path, password);
    auto reader = file->OpenTable(table);
    std::vector<std::vector<Value>> rows;
    while (reader->Next()) {
        std::vector<Value> row;
        for (std::size_t c = 0; c < reader->ColumnNames().size(); ++c)
            row.push_back(reader->Get(static_cast<int>(c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace ktv::test
