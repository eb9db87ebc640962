#include "platform/core/NumberFormat.h"

#include <charconv>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace ktv {

namespace {

struct Pinned {
    NumberFormat format;
    std::string name;
};

std::optional<Pinned>& pinned()
{
    static std::optional<Pinned> value;
    return value;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

// The locale name the environment gives the numbers, as the C library picks it.
std::string nameFromEnvironment()
{
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return v;
    }
    return "C";
}

// The program's own table, for a locale the system does not have: most languages write
// their decimals one way, and the regions listed first are the exceptions.
NumberFormat fromTable(std::string_view name)
{
    const std::string_view lang = name.substr(0, name.find_first_of("_.@"));
    const std::string_view langRegion = name.substr(0, name.find_first_of(".@"));
    static constexpr std::string_view dotDecimal[] = {"de_CH", "de_LI", "fr_CH", "it_CH", "es_DO",
                                                      "es_GT", "es_HN", "es_MX", "es_NI", "es_PA",
                                                      "es_PR", "es_SV", "es_US"};
    static constexpr std::string_view commaDecimalDotRegion[] = {"en_DK"};
    static constexpr std::string_view commaDecimalDot[] = {"tr", "de", "es", "it", "pt", "nl", "da", "id",
                                                           "el", "ro", "hr", "sl", "sr", "ca", "eu", "gl",
                                                           "is", "az", "be", "ka", "sq", "vi", "bs", "mn"};
    static constexpr std::string_view commaDecimalSpace[] = {
        "fr", "ru", "pl", "cs", "sk", "fi", "sv", "nb", "nn", "uk", "bg", "hu", "lt", "lv", "et", "kk", "mk"};
    for (auto l : dotDecimal)
        if (langRegion == l)
            return {'.', l.substr(0, 2) == "es" ? ',' : '\''};
    for (auto l : commaDecimalDotRegion)
        if (langRegion == l)
            return {',', '.'};
    for (auto l : commaDecimalDot)
        if (lang == l)
            return {',', '.'};
    for (auto l : commaDecimalSpace)
        if (lang == l)
            return {',', ' '};
    return {'.', ','};
}

// One character for a group separator the locale writes in UTF-8: the spaces that must not
// break a number become a blank, the apostrophes the Swiss write an apostrophe; nothing for
// any other.
std::optional<char> groupChar(std::string_view sep)
{
    if (sep.size() == 1 && static_cast<unsigned char>(sep[0]) < 0x80)
        return sep[0];
    if (sep == "\u00A0" || sep == "\u202F" || sep == "\u2009")
        return ' ';
    if (sep == "\u2019" || sep == "\u02BC")
        return '\'';
    return std::nullopt;
}

// The separators of an installed locale, or nothing when the system does not have it.
std::optional<NumberFormat> fromInstalledLocale(std::string_view name)
{
    // An empty name would make the C library read the environment instead.
    if (!NumberFormat::isLocaleName(name))
        return std::nullopt;
    const locale_t loc = newlocale(LC_NUMERIC_MASK, std::string(name).c_str(), locale_t{});
    if (!loc)
        return std::nullopt;
    const std::string_view decimal = nl_langinfo_l(RADIXCHAR, loc);
    const std::string_view group = nl_langinfo_l(THOUSEP, loc);
    std::optional<NumberFormat> format;
    if (decimal == "." || decimal == ",") {
        format = NumberFormat{decimal[0], ','};
        // A locale without a group separator ("C" among them) still reads the groups the
        // other separator makes, as the program always has.
        const auto g = groupChar(group);
        format->group = g && *g != format->decimal ? *g : (format->decimal == ',' ? '.' : ',');
    }
    freelocale(loc);
    return format;
}

} // namespace

NumberFormat NumberFormat::fromLocaleName(std::string_view name)
{
    if (const auto installed = fromInstalledLocale(name))
        return *installed;
    return fromTable(name);
}

bool NumberFormat::isLocaleName(std::string_view name)
{
    if (name == "C" || name == "POSIX" || name.substr(0, 2) == "C.")
        return name.find('/') == std::string_view::npos && name.size() < 64;
    std::size_t i = 0;
    while (i < name.size() && isLower(name[i]))
        ++i;
    if (i < 2 || i > 3)
        return false;
    if (i < name.size() && name[i] == '_') {
        const std::size_t start = ++i;
        while (i < name.size() && (isUpper(name[i]) || isDigit(name[i])))
            ++i;
        if (i - start < 2 || i - start > 3)
            return false;
    }
    if (i < name.size() && name[i] == '.') {
        const std::size_t start = ++i;
        while (i < name.size() &&
               (isLower(name[i]) || isUpper(name[i]) || isDigit(name[i]) || name[i] == '-'))
            ++i;
        if (i == start)
            return false;
    }
    if (i < name.size() && name[i] == '@') {
        const std::size_t start = ++i;
        while (i < name.size() && isLower(name[i]))
            ++i;
        if (i == start)
            return false;
    }
    return i == name.size();
}

const NumberFormat& NumberFormat::current()
{
    if (pinned())
        return pinned()->format;
    static const NumberFormat fromEnv = fromLocaleName(nameFromEnvironment());
    return fromEnv;
}

std::string NumberFormat::currentName()
{
    if (pinned())
        return pinned()->name;
    return nameFromEnvironment();
}

void NumberFormat::pin(const NumberFormat& format, std::string name)
{
    pinned() = Pinned{format, std::move(name)};
}
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
    return parsePlainNumber(*plain);
}

std::optional<double> parsePlainNumber(std::string_view plain)
{
    // from_chars reads the C form whatever the process's locale says; it takes no '+'.
    if (plain.size() > 1 && plain[0] == '+' && plain[1] != '-')
        plain.remove_prefix(1);
    double d = 0;
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, d);
    if (ptr != end || plain.empty())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too large becomes infinite and too small zero, as strtod gives them, so the
        // column that takes it refuses or stores it as before; strtod_l with the C
        // locale tells which.
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
        return strtod_l(std::string(plain).c_str(), nullptr, c);
    }
    if (ec != std::errc())
        return std::nullopt;
    return d;
}

} // namespace ktv
