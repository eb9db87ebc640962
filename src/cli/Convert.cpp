// ktvedaz-cli convert: the wizard's conversion without confirmation.
#include "cli/Args.h"
#include "cli/Cli.h"
#include "cli/CliHost.h"
#include "cli/OutputFile.h"

#include "app/AppPath.h"
#include "convert/ConversionRun.h"
#include "data/CompanyRegister.h"
#include "data/Dao.h"
#include "platform/core/Error.h"
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace ktv::cli {

const char* const kConvertHelp =
    "Usage: ktvedaz-cli convert --type KTD|PVD --source FILE --company CODE --year YEAR\n"
    "                           [--name NAME] [--root DIR] [--dry-run] [--report FILE.json|-]\n"
    "                           [--number-format LOCALE] [--server CONNINFO]\n"
    "\n"
    "Runs the same conversion as the wizard's convert button, without confirmation: records the\n"
    "company in DIR/DATA/SABIT.mdb, creates its year databases from the templates when missing,\n"
    "and adds the vehicle, dealer and stock cards of the source that are not there yet.\n"
    "\n"
    "  --type KTD|PVD     source type: KTD cards go to KTFIM.mdb, PVD cards to KTCHM.mdb\n"
    "  --source FILE      the source file (password 7183)\n"
    "  --company CODE     company code, 1 to 20\n"
    "  --year YEAR        year of the year databases, 2000 to 2010\n"
    "  --name NAME        company name; without it the registered name is kept (empty for a new code)\n"
    "  --root DIR         program folder: DATA below it, the templates in it\n"
    "                     (default: the folder of this executable; installed in a bin/ folder,\n"
    "                     the templates in ../share/ktvedaz and DATA in ~/.local/share/ktvedaz)\n"
    "                     KTVEDAZ_DATA, when set, names the DATA folder in every case\n"
    "  --dry-run          read source and target, check every value as the real run would and\n"
    "                     report what would be added; write nothing\n"
    "  --report FILE      also write the per-table report as JSON; - writes it to stdout\n"
    "                     instead of the table\n"
    "  --number-format LOCALE\n"
    "                     read numbers in that locale's format, e.g. tr_TR (2,5) or C (2.5)\n"
    "                     (default: the user's, from LC_ALL, LC_NUMERIC or LANG)\n"
    "  --server CONNINFO  keep the company data on this PostgreSQL server instead of DATA:\n"
    "                     a libpq connection string (host=... dbname=... user=... or a\n"
    "                     postgresql:// URI); keep the password in ~/.pgpass, not here\n"
    "\n"
    "The per-table report goes to stdout; progress goes to stderr when it is a terminal.\n"
    "The source is opened before anything is written.\n";

namespace {

std::string reportTable(const ConversionReport& report)
{
    std::string out = (report.dryRun ? "would write: " : "target: ") + report.target + "\n";
    char line[256];
    std::snprintf(line, sizeof line, "number format: %s (1%c234%c5)\n", report.numberFormat.c_str(),
                  report.groupSeparator, report.decimalSeparator);
    out += line;
    std::snprintf(line, sizeof line, "%-10s %9s %9s %9s %9s %9s\n", "table", "read", "added", "present",
                  "skipped", "cut");
    out += line;
    for (const auto& t : report.tables) {
        std::snprintf(line, sizeof line, "%-10s %9ld %9ld %9ld %9ld %9ld\n", t.table.c_str(), t.read, t.added,
                      t.present, t.skipped, t.cut);
        out += line;
    }
    return out;
}

// Numbers are read in the format of the named locale while the tool runs.
struct PinnedNumberFormat {
    explicit PinnedNumberFormat(const std::string& name)
    {
        NumberFormat::pin(NumberFormat::fromLocaleName(name), name);
    }
    ~PinnedNumberFormat() { NumberFormat::unpin(); }
    PinnedNumberFormat(const PinnedNumberFormat&) = delete;
    PinnedNumberFormat& operator=(const PinnedNumberFormat&) = delete;
};

// The report of a run that failed: its error instead of the tables.
std::string FailedRunJson(const Error& e) { return FailedRunToJson(e.number(), e.description()); }

} // namespace

int Convert(const std::vector<std::string>& argv, const std::string& executableFolder)
{
    const Args args(
        argv, {"type", "source", "company", "year", "name", "root", "report", "number-format", "server"},
        {"dry-run"});
    if (args.helpRequested()) {
        WriteStandardOutput(kConvertHelp);
        return 0;
    }
    if (!args.positionals().empty())
        throw UsageError("unexpected argument '" + args.positionals().front() + "'");
    ConversionRequest request;
    request.sourceType = SourceTypeFromName(args.require("type"));
    if (!request.sourceType)
        throw UsageError("--type must be KTD or PVD");
    const std::string sourceGiven = args.require("source");
    const std::filesystem::path source = std::filesystem::absolute(sourceGiven);
    request.folder = source.parent_path().string();
    request.fileName = source.filename().string();
    // The wizard offers the codes 1 to 20 and the years 2000 to 2010 from fixed lists; both
    // become folder names below DATA, so nothing else may pass ("../x" would write outside).
    request.companyCode = args.require("company");
    request.year = args.require("year");
    if (std::to_string(args.number("company", 0, 1, 20)) != request.companyCode)
        throw UsageError("--company must be one of 1 to 20, written as in the wizard's list");
    if (std::to_string(args.number("year", 0, 2000, 2010)) != request.year)
        throw UsageError("--year must be one of 2000 to 2010");
    // The register keeps at most 50 characters of a name; refuse a longer one before
    // anything is written instead of failing half-way.
    if (const auto name = args.get("name"); name && text::charCount(text::trimBlanks(*name)) > 50)
        throw UsageError("--name is longer than 50 characters");
    request.askConfirmation = false;
    request.dryRun = args.has("dry-run");
    std::optional<PinnedNumberFormat> numberFormat;
    if (const auto locale = args.get("number-format")) {
        if (!NumberFormat::isLocaleName(*locale))
            throw UsageError("--number-format must name a locale, such as tr_TR or C");
        numberFormat.emplace(*locale);
    }
    std::error_code ec;

    // The report's place is checked before the run, not found wanting after it.
    std::optional<OutputFile> reportFile;
    if (const auto file = args.get("report"))
        reportFile = CheckOutputFile("--report", *file);
    std::string root = args.get("root").value_or(executableFolder);
    if (!std::filesystem::is_directory(root, ec))
        throw UsageError("--root '" + root + "' is not a folder");
    InitAppPath(std::filesystem::absolute(root).string());

    // A mistyped source fails here, before the company is registered or a year database made
    // (looking up the registered name may already make DATA/SABIT.mdb).
    const std::string sourceFolder = source.parent_path().string();
    if (!std::filesystem::is_directory(sourceFolder, ec))
        throw Error(runtime_err::FileAccess,
                    "--source '" + sourceGiven + "': the folder '" + sourceFolder + "' does not exist");
    const std::string connect = std::string(";pwd=") + kSourcePassword;
    dao::Database::OpenDatabase(source.string(), false, true, connect)->Close();

    CompanyDatabases set;
    if (const auto server = args.get("server")) {
        if (server->empty())
            throw UsageError("--server needs a connection string");
        // Wrong credentials, an unknown database or a server out of reach fail here, before
        // anything is written.
        dao::CheckServer(*server);
        set.Server = *server;
    }
    if (const auto name = args.get("name"))
        request.companyName = *name;
    else if (!request.dryRun)
        request.companyName = FirmaAdiBul(set, request.companyCode);

    ConversionReport report;
    try {
        CliHost host(::isatty(STDERR_FILENO) == 1);
        ConversionRun run(set, host);
        report = run.Cmd_CevrimYap(request);
    } catch (const Error& e) {
        // A run that failed (a save that could not be made among them) leaves a report that
        // says so, with the error that tells what was not stored, instead of no report.
        // The run's error stays the one the tool tells, even if this report cannot be written.
        if (reportFile)
            try {
                WriteOutputFile(*reportFile, FailedRunJson(e));
            } catch (const Error&) {
            }
        throw;
    }
    // The JSON report on stdout stands alone there, so it can be read as JSON.
    if (!reportFile || reportFile->kind != OutputFile::Kind::StandardOutput)
        WriteStandardOutput(reportTable(report));
    if (reportFile)
        WriteOutputFile(*reportFile, ReportToJson(report));
    return 0;
}

} // namespace ktv::cli
