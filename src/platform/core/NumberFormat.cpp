#include "platform/core/NumberFormat.h"

#include <cstdlib>

namespace ktv {

namespace {

std::optional<NumberFormat>& pinned()
{
    static std::optional<NumberFormat> value;
    return value;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

NumberFormat NumberFormat::fromLocaleName(std::string_view name)
{
    // Languages that write 1.234,5 (or 1 234,5). Everything else, including "C" and
    // "POSIX", writes 1,234.5.
    const std::string_view lang = name.substr(0, name.find_first_of("_.@"));
    static constexpr std::string_view commaDecimalDot[] = {"tr", "de", "es", "it", "pt", "nl", "da", "id", "el", "ro", "hr", "sl", "sr"};
    static constexpr std::string_view commaDecimalSpace[] = {"fr", "ru", "pl", "cs", "sk", "fi", "sv", "nb", "nn", "uk", "bg", "hu", "lt", "lv", "et"};
    for (auto l : commaDecimalDot)
        if (lang == l)
            return {',', '.'};
    for (auto l : commaDecimalSpace)
        if (lang == l)
            return {',', ' '};
    return {'.', ','};
}

const NumberFormat& NumberFormat::current()
{
    if (pinned())
        return *pinned();
    static const NumberFormat fromEnv = [] {
        for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
            const char* v = std::getenv(var);
            if (v && *v)
                return fromLocaleName(v);
        }
        return NumberFormat{};
    }();
    return fromEnv;
}

void NumberFormat::pin(const NumberFormat& format) { pinned() = format; }
void NumberFormat::unpin() { pinned().reset(); }

std::optional<std::string> normalizeNumber(std::string_view text, const NumberFormat& format)
{
    std::string out;
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            out += '-';
        ++i;
    }
    bool digits = false;
    bool decimal = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            out += c;
            digits = true;
        } else if (c == format.decimal && !decimal) {
            out += '.';
            decimal = true;
        } else if (c == format.group && !decimal && digits) {
            // digit groups are separators only; the runtime accepted them anywhere in the whole part
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exp = "e";
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            exp += text[j++];
        bool expDigits = false;
        while (j < n && isDigit(text[j])) {
            exp += text[j++];
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
        out += exp;
        i = j;
    }
    if (i != n)
        return std::nullopt;
    return out;
}

bool isNumericText(std::string_view text, const NumberFormat& format)
{
    return normalizeNumber(text, format).has_value();
}

std::optional<double> parseNumber(std::string_view text, const NumberFormat& format)
{
    const auto plain = normalizeNumber(text, format);
    if (!plain)
        return std::nullopt;
    // strtod honours the C locale's '.', which the program never changes.
    return std::strtod(plain->c_str(), nullptr);
}

} // namespace ktv
