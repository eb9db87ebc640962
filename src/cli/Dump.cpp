// ktvedaz-cli dump: a table as the engine reads it, as CSV.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/OutputFile.h"

#include "data/CompanyDatabases.h"
#include "data/Dao.h"
#include "data/TemplateSchemas.h"

#include <charconv>
#include <cstdio>

namespace ktv::cli {

const char* const kDumpHelp =
    "Usage: ktvedaz-cli dump FILE [--password PWD] --table TABLE\n"
    "       ktvedaz-cli dump --server CONNINFO --database SABIT|KTFIM|KTCHM\n"
    "                        [--company CODE --year YEAR] --table TABLE\n"
    "\n"
    "Prints TABLE of the database FILE as CSV (RFC 4180: header line, CR LF line ends, UTF-8),\n"
    "each value as the engine reads it; Null is an empty field, numbers use '.' and floating\n"
    "point prints as the shortest text that reads back as the same number. A failed write (a full\n"
    "disk, a closed pipe) stops the dump with exit status 1.\n"
    "\n"
    "With --server the table is read from the company data on that PostgreSQL server (a libpq\n"
    "connection string): SABIT, or the year database KTFIM or KTCHM of --company and --year.\n"
    "The CSV is the one the same table in the DATA folder would give.\n";

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

// The member --database names on the server, read only; a schema that is not there is not made.
std::unique_ptr<dao::Database> OpenServerMember(const std::string& server, const Args& args)
{
    if (server.empty())
        throw UsageError("--server needs a connection string");
    const std::string name = args.require("database");
    CompanyDatabases set;
    set.Server = server;
    CompanyDatabases::Member member = CompanyDatabases::Sabit;
    if (name == "SABIT")
        member = CompanyDatabases::Sabit;
    else if (name == "KTFIM")
        member = CompanyDatabases::Ktfim;
    else if (name == "KTCHM")
        member = CompanyDatabases::Ktchm;
    else
        throw UsageError("--database must be SABIT, KTFIM or KTCHM");
    if (member == CompanyDatabases::Sabit) {
        if (args.get("company") || args.get("year"))
            throw UsageError("SABIT belongs to no company and year");
    } else {
        set.FirmaKodu = args.require("company");
        set.VedazYili = args.require("year");
    }
    auto db =
        dao::Database::OpenServer(server, set.ServerSchema(member), TemplateSchema(member), false, true);
    if (!db)
        dao::raiseText(dao::err::FileNotFound, "The database server '" + dao::ServerName(server) +
                                                   "' has no schema '" + set.ServerSchema(member) + "'.");
    return db;
}

} // namespace

int Dump(const std::vector<std::string>& argv)
{
    const Args args(argv, {"password", "table", "server", "database", "company", "year"}, {});
    if (args.helpRequested()) {
        WriteStandardOutput(kDumpHelp);
        return 0;
    }
    std::unique_ptr<dao::Database> db;
    const std::string table = args.require("table");
    if (const auto server = args.get("server")) {
        if (!args.positionals().empty())
            throw UsageError("dump --server takes no FILE");
        if (args.get("password"))
            throw UsageError("--password is for a FILE; the server's password goes in ~/.pgpass");
        db = OpenServerMember(*server, args);
    } else {
        if (args.get("database") || args.get("company") || args.get("year"))
            throw UsageError("--database, --company and --year go with --server");
        if (args.positionals().size() != 1)
            throw UsageError("dump needs exactly one FILE");
        const auto pwd = args.get("password");
        db = dao::Database::OpenDatabase(args.positionals()[0], false, true, pwd ? ";pwd=" + *pwd : "");
    }
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
