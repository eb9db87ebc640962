// The user's number format: which characters separate decimals and digit groups.
// Found once from the environment (LC_ALL, then LC_NUMERIC, then LANG), as the
// C library would pick the locale; tests and tools may pin it. Reading and writing
// numbers never goes through the process's C locale, which a window toolkit may set.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ktv {

struct NumberFormat {
    char decimal = '.';
    char group = ',';

    // The separators of the named locale: from the locale itself when the system has it,
    // otherwise from the program's own table of languages and regions.
    static NumberFormat fromLocaleName(std::string_view name);
    // True for a name of the form language[_REGION][.codeset][@modifier], "C" or "POSIX".
    static bool isLocaleName(std::string_view name);
    static const NumberFormat& current();
    // The locale name the current format was taken from ("C" when the environment names none).
    static std::string currentName();
    static void pin(const NumberFormat& format, std::string name = {}); // for tests and the command line
    static void unpin();
};

// True when the text reads as a number in the format: optional sign, digits with group
// separators, at most one decimal separator, optional exponent. Empty text is not numeric.
bool isNumericText(std::string_view text, const NumberFormat& format = NumberFormat::current());

// The number in the text under the same rules, or nothing when it is not numeric.
std::optional<double> parseNumber(std::string_view text,
                                  const NumberFormat& format = NumberFormat::current());

// The same text rewritten to the plain C form ("-1234.5e3"): no groups, '.' as decimal.
std::optional<std::string> normalizeNumber(std::string_view text,
                                           const NumberFormat& format = NumberFormat::current());

// A plain C-form number ("-1234.5", "1e+20") read without regard to the C locale; nothing
// when the whole text is not one.
std::optional<double> parsePlainNumber(std::string_view plain);

} // namespace ktv
