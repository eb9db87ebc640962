// The options of one command, parsed by CLI11: "--name value" and "--name=value" options,
// "--flag" switches, positionals, "--" ending the options, and --help/-h.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace ktv::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // valued: options that take a value; switches: options that do not. Throws UsageError
    // on an unknown option, a missing value or an option given twice.
    Args(const std::vector<std::string>& argv, const std::set<std::string>& valued,
         const std::set<std::string>& switches);

    // --help or -h was given (not as the value of an option, nor after "--").
    bool helpRequested() const { return m_help; }
    std::optional<std::string> get(const std::string& name) const;
    std::string require(const std::string& name) const;
    bool has(const std::string& name) const { return m_switches.count(name) > 0; }
    const std::vector<std::string>& positionals() const { return m_positionals; }
    long number(const std::string& name, long fallback, long min, long max) const;

private:
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_switches;
    std::vector<std::string> m_positionals;
    bool m_help = false;
};

} // namespace ktv::cli
