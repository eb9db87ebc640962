#include "cli/Cli.h"

#include "cli/Args.h"
#include "platform/core/Error.h"

#include <cstdio>

namespace ktv::cli {

namespace {

const char* kUsage =
    "Usage: ktvedaz-cli <command> [options]\n"
    "\n"
    "Commands:\n"
    "  convert   convert a source file into a company's year database\n"
    "  sample    write a password-protected sample source file\n"
    "  protect   give an existing database file a database password\n"
    "  dump      print a table of a database file as CSV\n"
    "\n"
    "Run 'ktvedaz-cli <command> --help' for the options of a command.\n"
    "Exit status: 0 success, 1 failure (error number and description on stderr), 2 usage error.\n";

} // namespace

int Main(const std::vector<std::string>& args, const std::string& executableFolder)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "convert")
            return Convert(rest, executableFolder);
        if (command == "sample")
            return Sample(rest);
        if (command == "protect")
            return Protect(rest);
        if (command == "dump")
            return Dump(rest);
        throw UsageError("unknown command '" + command + "'");
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ktvedaz-cli: %s\n\n%s", e.what(), kUsage);
        return 2;
    } catch (const Error& e) {
        std::fprintf(stderr, "ktvedaz-cli: error %d: %s\n", e.number(), e.description().c_str());
        return 1;
    }
}

std::string CsvField(const std::string& value)
{
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string out = "\"";
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace ktv::cli
