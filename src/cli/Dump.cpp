// ktvedaz-cli dump: a table as the engine reads it, as CSV.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/OutputFile.h"

#include "data/Dao.h"

#include <charconv>
#include <cstdio>

namespace ktv::cli {

const char* const kDumpHelp =
    "Usage: ktvedaz-cli dump FILE [--password PWD] --table TABLE\n"
    "\n"
    "Prints TABLE of the database FILE as CSV (RFC 4180: header line, CR LF line ends, UTF-8),\n"
    "each value as the engine reads it; Null is an empty field, numbers use '.' and floating\n"
    "point prints as the shortest text that reads back as the same number. A failed write (a full\n"
    "disk, a closed pipe) stops the dump with exit status 1.\n";

namespace {

// Numbers in the C form, so the CSV reads the same whatever the user's number format;
// floating point as the shortest text that reads back as the same number.
std::string csvValue(const Value& v)
{
    if (const auto* d = std::get_if<double>(&v.storage())) {
        char buf[64];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, *d).ptr);
    }
    if (const auto* c = std::get_if<Currency>(&v.storage()))
        return currencyToPlainText(*c);
    return v.toText();
}

} // namespace

int Dump(const std::vector<std::string>& argv)
{
    const Args args(argv, {"password", "table"}, {});
    if (args.helpRequested()) {
        WriteStandardOutput(kDumpHelp);
        return 0;
    }
    if (args.positionals().size() != 1)
        throw UsageError("dump needs exactly one FILE");
    const std::string table = args.require("table");
    const auto pwd = args.get("password");
    auto db = dao::Database::OpenDatabase(args.positionals()[0], false, true, pwd ? ";pwd=" + *pwd : "");
    auto rs = db->OpenRecordset(table, dao::RecordsetType::Snapshot);
    const auto names = rs->FieldNames();
    std::string line;
    for (std::size_t i = 0; i < names.size(); ++i)
        line += (i ? "," : "") + CsvField(names[i]);
    line += "\r\n";
    std::string out = line;
    while (!rs->Eof()) {
        line.clear();
        for (std::size_t i = 0; i < names.size(); ++i)
            line += (i ? "," : "") + CsvField(csvValue(rs->Field(names[i])));
        line += "\r\n";
        // Written by length: a value holding a NUL character is written whole. A failed
        // write ends the dump at once instead of reading on for nothing.
        out += line;
        if (out.size() >= 1 << 16) {
            WriteStandardOutput(out);
            out.clear();
        }
        rs->MoveNext();
    }
    WriteStandardOutput(out);
    rs->Close();
    db->Close();
    return 0;
}

} // namespace ktv::cli
