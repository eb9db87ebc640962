#include "cli/Args.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdlib>
#include <list>

namespace ktv::cli {

namespace {

// CLI11 names the option first ("--type: 1 required TEXT missing"); the tool says it in
// its own words, as it always has.
std::string usageText(const CLI::ParseError& e)
{
    const std::string what = e.what();
    const auto colon = what.find(": ");
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) && colon != std::string::npos &&
        what.rfind("--", 0) == 0) {
        const std::string option = what.substr(0, colon);
        if (what.find("missing", colon) != std::string::npos)
            return option + " needs a value";
        if (what.find("received", colon) != std::string::npos)
            return option + " given twice";
    }
    return what;
}

} // namespace

Args::Args(const std::vector<std::string>& argv, const std::set<std::string>& valued,
           const std::set<std::string>& switches)
{
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", m_help);
    // Stable addresses for CLI11 to write into.
    std::list<std::pair<const CLI::Option*, std::string>> values;
    for (const auto& name : valued) {
        auto& slot = values.emplace_back(nullptr, std::string());
        slot.first = app.add_option("--" + name, slot.second);
    }
    std::map<std::string, const CLI::Option*> flags;
    for (const auto& name : switches)
        flags[name] = app.add_flag("--" + name);
    app.add_option("positionals", m_positionals);
    // CLI11 takes its arguments last first.
    std::vector<std::string> reversed(argv.rbegin(), argv.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw UsageError(usageText(e));
    }
    // With extras allowed CLI11 hands back what it did not know, the "--" mark among them.
    for (const auto& extra : app.remaining()) {
        if (extra == "--")
            continue;
        if (extra.size() > 1 && extra[0] == '-')
            throw UsageError("unknown option " + extra.substr(0, extra.find('=')));
        throw UsageError("unexpected argument '" + extra + "'");
    }
    auto slot = values.begin();
    for (const auto& name : valued) {
        if (slot->first->count())
            m_values[name] = slot->second;
        ++slot;
    }
    for (const auto& [name, option] : flags)
        if (option->count())
            m_switches.insert(name);
}

std::optional<std::string> Args::get(const std::string& name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::string Args::require(const std::string& name) const
{
    const auto v = get(name);
    if (!v || v->empty())
        throw UsageError("--" + name + " is required");
    return *v;
}

long Args::number(const std::string& name, long fallback, long min, long max) const
{
    const auto v = get(name);
    if (!v)
        return fallback;
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(v->c_str(), &end, 10);
    if (errno != 0 || end == v->c_str() || *end != '\0' || n < min || n > max)
        throw UsageError("--" + name + " must be a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max));
    return n;
}

} // namespace ktv::cli
