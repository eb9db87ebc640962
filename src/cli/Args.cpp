#include "cli/Args.h"

#include <cerrno>
#include <cstdlib>

namespace ktv::cli {

Args::Args(const std::vector<std::string>& argv, const std::set<std::string>& valued,
           const std::set<std::string>& switches)
{
    for (std::size_t i = 0; i < argv.size(); ++i) {
        std::string a = argv[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            m_positionals.push_back(a);
            continue;
        }
        std::string value;
        bool inlineValue = false;
        if (const auto eq = a.find('='); eq != std::string::npos) {
            value = a.substr(eq + 1);
            a = a.substr(0, eq);
            inlineValue = true;
        }
        const std::string name = a.substr(2);
        if (valued.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= argv.size())
                    throw UsageError("--" + name + " needs a value");
                value = argv[++i];
            }
            if (m_values.count(name))
                throw UsageError("--" + name + " given twice");
            m_values[name] = value;
        } else if (switches.count(name) && !inlineValue) {
            m_switches.insert(name);
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
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
