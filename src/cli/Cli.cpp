#include "cli/Cli.h"

#include "cli/Args.h"
#include "cli/OutputFile.h"
#include "platform/core/Error.h"
#include "platform/core/MessageBox.h"

#include <KtvVersion.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ktv::cli {

namespace {

const char* kUsage =
    "Usage: ktvedaz-cli <command> [options]\n"
    "       ktvedaz-cli help [COMMAND]\n"
    "       ktvedaz-cli --version\n"
    "\n"
    "Commands:\n"
    "  convert   convert a source file into a company's year database\n"
    "  sample    write a password-protected sample source file\n"
    "  protect   give an existing database file a database password\n"
    "  dump      print a table of a database file as CSV\n"
    "\n"
    "Run 'ktvedaz-cli <command> --help' or 'ktvedaz-cli help <command>' for the options of a command.\n"
    "Exit status: 0 success, 1 failure (error number and description on stderr), 2 usage error.\n";

struct Command {
    const char* name;
    const char* const* help;
};

const Command kCommands[] = {
    {"convert", &kConvertHelp},
    {"sample", &kSampleHelp},
    {"protect", &kProtectHelp},
    {"dump", &kDumpHelp},
};

const char* helpOf(const std::string& command)
{
    for (const auto& c : kCommands)
        if (command == c.name)
            return *c.help;
    return nullptr;
}

// A command's usage lines: its help up to the first blank line.
std::string usageOf(const char* help)
{
    const std::string text = help;
    return text.substr(0, text.find("\n\n") + 1);
}

// The report boxes of the shared code (the Turkish "Genel HATA" text) are held back: the
// error that stops a run reaches the tool's own error line, and one line says it. A box
// raised by a run that still succeeded is printed as a warning afterwards.
class HeldMessageBoxes final : public MessageBoxService {
public:
    HeldMessageBoxes() : m_previous(&messageBoxes()) { setMessageBoxes(this); }
    ~HeldMessageBoxes() override { setMessageBoxes(m_previous); }
    MsgAnswer show(const MessageRequest& r) override
    {
        std::string line;
        for (const char c : r.text)
            if (c == '\r' || c == '\n') {
                if (!line.empty() && line.back() != ' ')
                    line += ' ';
            } else {
                line += c;
            }
        m_held.push_back(r.title + ": " + line);
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void printAsWarnings() const
    {
        for (const auto& text : m_held)
            std::fprintf(stderr, "ktvedaz-cli: warning: %s\n", text.c_str());
    }

private:
    MessageBoxService* m_previous;
    std::vector<std::string> m_held;
};

int run(const std::vector<std::string>& args, const std::string& executableFolder)
{
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& first = args[0];
    if (first == "--version") {
        WriteStandardOutput(ktvVersionText("ktvedaz-cli"));
        return 0;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        if (first == "help" && args.size() > 1) {
            const char* help = helpOf(args[1]);
            if (!help || args.size() > 2) {
                const std::string what =
                    help ? "help takes one command" : "unknown command '" + args[1] + "'";
                std::fprintf(stderr, "ktvedaz-cli: %s\n\n%s", what.c_str(), kUsage);
                return 2;
            }
            WriteStandardOutput(help);
            return 0;
        }
        WriteStandardOutput(kUsage);
        return 0;
    }
    const char* help = helpOf(first);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (first == "convert")
            return Convert(rest, executableFolder);
        if (first == "sample")
            return Sample(rest);
        if (first == "protect")
            return Protect(rest);
        if (first == "dump")
            return Dump(rest);
        throw UsageError("unknown command '" + first + "'");
    } catch (const UsageError& e) {
        if (help)
            std::fprintf(stderr, "ktvedaz-cli %s: %s\n\n%s\nRun 'ktvedaz-cli help %s' for its options.\n",
                         first.c_str(), e.what(), usageOf(help).c_str(), first.c_str());
        else
            std::fprintf(stderr, "ktvedaz-cli: %s\n\n%s", e.what(), kUsage);
        return 2;
    }
}

} // namespace

int Main(const std::vector<std::string>& args, const std::string& executableFolder)
{
    HeldMessageBoxes boxes;
    int status = 1;
    try {
        status = run(args, executableFolder);
    } catch (const Error& e) {
        std::fprintf(stderr, "ktvedaz-cli: error %d: %s\n", e.number(), e.description().c_str());
        status = 1;
    }
    // Output lost on a full disk or a closed pipe is a failure, not a silent success.
    const bool flushFailed = std::fflush(stdout) != 0;
    if (flushFailed || std::ferror(stdout)) {
        const int err = flushFailed ? errno : EIO;
        if (status != 1)
            std::fprintf(stderr, "ktvedaz-cli: error %d: cannot write to standard output: %s\n",
                         runtime_err::FileAccess, std::strerror(err));
        std::clearerr(stdout);
        status = 1;
    }
    if (status == 0)
        boxes.printAsWarnings();
    return status;
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
