#include "platform/core/ProfileString.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/TextCodec.h"

#include <string_view>
#include <vector>

namespace ktv::profile {

namespace {

struct Line {
    std::size_t begin; // offset of the line's first byte
    std::size_t end;   // offset past its last byte, line break excluded
    std::size_t next;  // offset of the following line
};

std::vector<Line> splitLines(const std::string& s)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t nl = s.find('\n', pos);
        const std::size_t next = nl == std::string::npos ? s.size() : nl + 1;
        std::size_t end = nl == std::string::npos ? s.size() : nl;
        if (end > pos && s[end - 1] == '\r')
            --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

std::string_view view(const std::string& s, const Line& l)
{
    return std::string_view(s).substr(l.begin, l.end - l.begin);
}

// "[name]" gives name; anything else gives nothing.
bool sectionName(std::string_view line, std::string& name)
{
    const std::string t = text::trimBlanks(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    if (close == std::string::npos)
        return false;
    name = text::trimBlanks(std::string_view(t).substr(1, close - 1));
    return true;
}

bool keyLine(std::string_view line, std::string& key, std::string& value)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = text::trimBlanks(line.substr(0, eq));
    if (key.empty() || key[0] == ';')
        return false;
    value = text::trimBlanks(line.substr(eq + 1));
    return true;
}

struct Found {
    bool section = false;
    std::size_t sectionLastLine = 0; // index of the last non-blank line of the section
    bool key = false;
    std::size_t keyLine = 0;
    std::string value;
};

Found locate(const std::string& content, const std::vector<Line>& lines, const std::string& section,
             const std::string& key)
{
    Found f;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = view(content, lines[i]);
        std::string name;
        if (sectionName(line, name)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = text::equalsNoCase(name, section);
            if (inSection) {
                f.section = true;
                f.sectionLastLine = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!text::trimBlanks(line).empty())
            f.sectionLastLine = i;
        std::string k, v;
        if (!f.key && keyLine(line, k, v) && text::equalsNoCase(k, key)) {
            f.key = true;
            f.keyLine = i;
            f.value = v;
        }
    }
    return f;
}

std::string unquote(const std::string& v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// A value or name must stay on its own line.
std::string oneLine(const std::string& s)
{
    std::string out;
    for (const char c : s)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

} // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultText, std::size_t bufferSize,
                                    const std::string& fileName)
{
    std::string result = defaultText;
    std::string content;
    if (readSmallFile(fileName, content, kMaxFileSize)) {
        const auto lines = splitLines(content);
        const Found f = locate(content, lines, section, key);
        if (f.key)
            result = text::toUtf8(unquote(f.value));
    }
    if (bufferSize == 0)
        return {};
    // A NUL inside the value ends it, as it would in the caller's buffer.
    if (const auto nul = result.find('\0'); nul != std::string::npos)
        result.resize(nul);
    return text::leftChars(result, bufferSize - 1);
}

void WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName)
{
    std::string content;
    readSmallFile(fileName, content, kMaxFileSize);
    const auto lines = splitLines(content);
    const std::string eol =
        content.find("\r\n") != std::string::npos || content.find('\n') == std::string::npos ? "\r\n" : "\n";
    const std::string entry = oneLine(key) + "=" + oneLine(value);
    const Found f = locate(content, lines, section, key);

    std::string out;
    if (f.key) {
        const Line& l = lines[f.keyLine];
        out = content.substr(0, l.begin) + entry + content.substr(l.end);
    } else if (f.section) {
        const Line& l = lines[f.sectionLastLine];
        // A line ends with a break only where a '\n' follows it: a lone '\r' at the end of
        // the file is part of the line, and the new entry must not be glued onto it.
        const bool hasBreak = l.next > l.begin && content[l.next - 1] == '\n';
        out = content.substr(0, l.next) + (hasBreak ? "" : eol) + entry + eol + content.substr(l.next);
    } else {
        out = content;
        if (!out.empty() && out.back() != '\n')
            out += eol;
        out += "[" + oneLine(section) + "]" + eol + entry + eol;
    }
    writeFileAtomically(fileName, out);
}

} // namespace ktv::profile
