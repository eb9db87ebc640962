#include "app/AppPathDesktopEntry.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Error.h"

#include <sys/stat.h>

#include <sstream>

namespace ktv {

std::string DesktopStringValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string DesktopExecValue(const std::string& program)
{
    // The reserved characters of an Exec argument; an argument holding one is quoted, and
    // within the quotes ", `, $ and \ take a backslash. A % is doubled in any case.
    const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg;
    for (const char c : program) {
        if (c == '%')
            arg += "%%";
        else if (c == '"' || c == '`' || c == '$' || c == '\\')
            arg += std::string("\\") + c;
        else
            arg += c;
    }
    if (program.find_first_of(reserved) != std::string::npos)
        arg = "\"" + arg + "\"";
    // The quoted argument is then a string value, whose own escapes come on top.
    return DesktopStringValue(arg);
}

bool PointDesktopEntryAt(const std::string& folder)
{
    const std::string path = folder + "/ktvedaz.desktop";
    std::string entry;
    try {
        // An entry is a few hundred bytes; anything else in its place is left alone.
        if (!readSmallFile(path, entry, 64 * 1024))
            return false;
    } catch (const Error&) {
        return false;
    }
    const std::string exec = "Exec=" + DesktopExecValue(folder + "/ktvedaz");
    const std::string icon = "Icon=" + DesktopStringValue(folder + "/ktvedaz.png");
    std::istringstream in(entry);
    std::string line;
    std::string out;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0)
            line = exec;
        else if (line.rfind("Icon=", 0) == 0)
            line = icon;
        out += line + "\n";
    }
    if (out == entry)
        return false;
    struct stat st {};
    const bool hadMode = ::stat(path.c_str(), &st) == 0;
    try {
        writeFileAtomically(path, out);
    } catch (const Error&) {
        return false; // a folder the operator cannot write keeps its entry as it is
    }
    // File managers trust an entry marked executable; the new file keeps the old one's mode.
    if (hadMode)
        ::chmod(path.c_str(), st.st_mode & 07777);
    return true;
}

} // namespace ktv
