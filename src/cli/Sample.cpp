// ktvedaz-cli sample and protect: sample source files for tests and demonstrations.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/OutputFile.h"
#include "cli/ProgressLine.h"
#include "cli/SampleData.h"

#include "convert/SourceSchema.h"
#include "convert/SourceType.h"
#include "data/Dao.h"
#include "data/DatabasePassword.h"
#include "data/jetwriter/JetWriter.h"
#include "platform/core/Error.h"

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace ktv::cli {

const char* const kSampleHelp =
    "Usage: ktvedaz-cli sample --type KTD|PVD --out FILE --records N [--seed S]\n"
    "                          [--format sqlite|jet3|jet4]\n"
    "\n"
    "Writes a source file protected with the password 7183, with N records in each of the tables\n"
    "AracKarti, CariKart and StokKarti: Turkish names and addresses, plates, phone numbers, dealer\n"
    "states, every stock kind (and unknown ones), codes longer than 10 characters, codes that\n"
    "collide when cut to 10, Null values and a code holding a quote. The same seed gives the same\n"
    "file. An existing FILE is replaced only when the new one is complete.\n"
    "\n"
    "--format sqlite (the default) writes this program's own format; jet3 writes a Jet 3 file\n"
    "(Access 97, text in code page 1254), jet4 a Jet 4 file (Access 2000-2003, Unicode text),\n"
    "with the same rows for the same seed.\n"
    "\n"
    "Progress goes to stderr when it is a terminal.\n";

const char* const kProtectHelp =
    "Usage: ktvedaz-cli protect FILE --password PWD\n"
    "\n"
    "Gives the database FILE (of this program's format) a database password. From then on it opens\n"
    "only with the connect string \";pwd=PWD\".\n";

namespace {

void fill(dao::Database& db, const std::string& table, long records, SampleData& data,
          SampleRow (SampleData::*make)(long), const SampleProgress& progress)
{
    auto rs = db.OpenRecordset(table, dao::RecordsetType::Dynaset);
    for (long i = 0; i < records; ++i) {
        rs->AddNew();
        for (const auto& [column, value] : (data.*make)(i))
            rs->SetField(column, value);
        rs->Update();
        if (progress)
            progress(table, i + 1, records);
    }
    rs->Close();
}

// The source tables' schema as Jet table specs: TEXT(n) and MEMO columns.
std::vector<jet::JetTableSpec> jetSourceTables()
{
    std::vector<jet::JetTableSpec> tables;
    std::istringstream in(kSourceTablesSchema);
    std::string word;
    while (in >> word) {
        if (word == "TABLE") {
            tables.emplace_back();
            in >> tables.back().name;
            continue;
        }
        std::string type;
        in >> type;
        jet::JetColumnSpec column{word, jet::JetType::Memo};
        if (type.rfind("TEXT(", 0) == 0) {
            column.type = jet::JetType::Text;
            column.size = std::stoi(type.substr(5));
        }
        tables.back().columns.push_back(column);
    }
    return tables;
}

void fillJet(jet::JetWriter& writer, std::size_t table, const std::string& name, long records,
             SampleData& data, SampleRow (SampleData::*make)(long), const SampleProgress& progress)
{
    std::vector<Value> values;
    for (long i = 0; i < records; ++i) {
        values.clear();
        for (auto& [column, value] : (data.*make)(i))
            values.push_back(std::move(value));
        writer.AddRow(table, values);
        if (progress)
            progress(name, i + 1, records);
    }
}

} // namespace

void WriteSampleSource(const std::string& path, const std::string&, long records, unsigned seed,
                       const std::string& password, SampleFormat format, const SampleProgress& progress)
{
    // Built beside the target and renamed at the end, so a failure never leaves half a file.
    const std::string tmp = path + ".partial";
    std::error_code ec;
    std::filesystem::remove(tmp, ec);
    try {
        SampleData data(seed);
        if (format == SampleFormat::Own) {
            dao::CreateDatabase(tmp, kSourceTablesSchema, password);
            auto db = dao::Database::OpenDatabase(tmp, true, false, ";pwd=" + password);
            fill(*db, "AracKarti", records, data, &SampleData::vehicle, progress);
            fill(*db, "CariKart", records, data, &SampleData::account, progress);
            fill(*db, "StokKarti", records, data, &SampleData::stock, progress);
            db->Close();
        } else {
            jet::JetWriteOptions options;
            options.version =
                format == SampleFormat::Jet3 ? jet::JetHeader::Version::Jet3 : jet::JetHeader::Version::Jet4;
            options.password = password;
            jet::JetWriter writer(tmp, options, jetSourceTables());
            fillJet(writer, 0, "AracKarti", records, data, &SampleData::vehicle, progress);
            fillJet(writer, 1, "CariKart", records, data, &SampleData::account, progress);
            fillJet(writer, 2, "StokKarti", records, data, &SampleData::stock, progress);
            writer.Finish();
        }
    } catch (...) {
        std::filesystem::remove(tmp, ec);
        throw;
    }
    std::filesystem::rename(tmp, path, ec);
    if (ec)
        throw Error(runtime_err::FileAccess, "Dosya yazılamıyor: " + path + ": " + ec.message());
}

int Sample(const std::vector<std::string>& argv)
{
    const Args args(argv, {"type", "out", "records", "seed", "format"}, {});
    if (args.helpRequested()) {
        WriteStandardOutput(kSampleHelp);
        return 0;
    }
    if (!args.positionals().empty())
        throw UsageError("unexpected argument '" + args.positionals().front() + "'");
    const std::string type = args.require("type");
    if (!SourceTypeFromName(type))
        throw UsageError("--type must be KTD or PVD");
    const long records = args.number("records", -1, 0, 100000000);
    if (records < 0)
        throw UsageError("--records is required");
    const long seed = args.number("seed", 1, 0, 4294967295L);
    const std::string format = args.get("format").value_or("sqlite");
    if (format != "sqlite" && format != "jet3" && format != "jet4")
        throw UsageError("--format must be sqlite, jet3 or jet4");
    const SampleFormat f = format == "jet3"   ? SampleFormat::Jet3
                           : format == "jet4" ? SampleFormat::Jet4
                                              : SampleFormat::Own;
    const std::string out = args.require("out");
    // A missing folder is told as one, before anything is made.
    std::error_code ec;
    if (std::filesystem::is_directory(out, ec))
        throw UsageError("--out '" + out + "' is a folder");
    CheckFolderOf("--out", out, std::filesystem::absolute(out).string());
    ProgressLine line(::isatty(STDERR_FILENO) == 1);
    std::string current;
    WriteSampleSource(out, type, records, static_cast<unsigned>(seed), "7183", f,
                      [&](const std::string& table, long done, long total) {
                          if (table != current) {
                              current = table;
                              line.start(table, total);
                          }
                          line.update(done);
                      });
    return 0;
}

int Protect(const std::vector<std::string>& argv)
{
    const Args args(argv, {"password"}, {});
    if (args.helpRequested()) {
        WriteStandardOutput(kProtectHelp);
        return 0;
    }
    if (args.positionals().size() != 1)
        throw UsageError("protect needs exactly one FILE");
    const auto password = args.get("password");
    if (!password)
        throw UsageError("--password is required");
    dao::SetDatabasePassword(args.positionals()[0], *password);
    return 0;
}

} // namespace ktv::cli
