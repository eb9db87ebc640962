// ktvedaz-cli sample and protect: sample source files for tests and demonstrations.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/SampleData.h"

#include "data/Dao.h"
#include "data/DatabasePassword.h"
#include "platform/core/Error.h"
#include "convert/SourceSchema.h"

#include <cstdio>
#include <filesystem>

namespace ktv::cli {

namespace {

const char* kSampleHelp =
    "Usage: ktvedaz-cli sample --type KTD|PVD --out FILE --records N [--seed S]\n"
    "\n"
    "Writes a source file protected with the password 7183, with N records in each of the tables\n"
    "AracKarti, CariKart and StokKarti: Turkish names and addresses, plates, phone numbers, dealer\n"
    "states, every stock kind (and unknown ones), codes longer than 10 characters, codes that\n"
    "collide when cut to 10, Null values and a code holding a quote. The same seed gives the same\n"
    "file. An existing FILE is replaced only when the new one is complete.\n";

const char* kProtectHelp =
    "Usage: ktvedaz-cli protect FILE --password PWD\n"
    "\n"
    "Gives the database FILE (of this program's format) a database password. From then on it opens\n"
    "only with the connect string \";pwd=PWD\".\n";

void fill(dao::Database& db, const std::string& table, long records, SampleData& data,
          SampleRow (SampleData::*make)(long))
{
    auto rs = db.OpenRecordset(table, dao::RecordsetType::Dynaset);
    for (long i = 0; i < records; ++i) {
        rs->AddNew();
        for (const auto& [column, value] : (data.*make)(i))
            rs->SetField(column, value);
        rs->Update();
    }
    rs->Close();
}

} // namespace

void WriteSampleSource(const std::string& path, const std::string&, long records, unsigned seed,
                       const std::string& password)
{
    // Built beside the target and renamed at the end, so a failure never leaves half a file.
    const std::string tmp = path + ".partial";
    std::error_code ec;
    std::filesystem::remove(tmp, ec);
    try {
        dao::CreateDatabase(tmp, kSourceTablesSchema, password);
        auto db = dao::Database::OpenDatabase(tmp, true, false, ";pwd=" + password);
        SampleData data(seed);
        fill(*db, "AracKarti", records, data, &SampleData::vehicle);
        fill(*db, "CariKart", records, data, &SampleData::account);
        fill(*db, "StokKarti", records, data, &SampleData::stock);
        db->Close();
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
    for (const auto& a : argv)
        if (a == "--help" || a == "-h") {
            std::fputs(kSampleHelp, stdout);
            return 0;
        }
    const Args args(argv, {"type", "out", "records", "seed"}, {});
    if (!args.positionals().empty())
        throw UsageError("unexpected argument '" + args.positionals().front() + "'");
    const std::string type = args.require("type");
    if (type != "KTD" && type != "PVD")
        throw UsageError("--type must be KTD or PVD");
    const long records = args.number("records", -1, 0, 100000000);
    if (records < 0)
        throw UsageError("--records is required");
    const long seed = args.number("seed", 1, 0, 4294967295L);
    WriteSampleSource(args.require("out"), type, records, static_cast<unsigned>(seed), "7183");
    return 0;
}

int Protect(const std::vector<std::string>& argv)
{
    for (const auto& a : argv)
        if (a == "--help" || a == "-h") {
            std::fputs(kProtectHelp, stdout);
            return 0;
        }
    const Args args(argv, {"password"}, {});
    if (args.positionals().size() != 1)
        throw UsageError("protect needs exactly one FILE");
    const auto password = args.get("password");
    if (!password)
        throw UsageError("--password is required");
    dao::SetDatabasePassword(args.positionals()[0], *password);
    return 0;
}

} // namespace ktv::cli
