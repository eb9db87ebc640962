// The user's number format: which characters separate decimals and digit groups.
// Found once from the environment (LC_ALL, then LC_NUMERIC, then LANG), as the
// C library would pick the locale; tests and tools may pin it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ktv {

struct NumberFormat {
    char decimal = '.';
    char group = ',';

    static NumberFormat fromLocaleName(std::string_view name);
    static const NumberFormat& current();
    static void pin(const NumberFormat& format); // for tests and the command line
    static void unpin();
};

// True when the text reads as a number in the format: optional sign, digits with group
// separators, at most one decimal separator, optional exponent. Empty text is not numeric.
bool isNumericText(std::string_view text, const NumberFormat& format = NumberFormat::current());

// The number in the text under the same rules, or nothing when it is not numeric.
std::optional<double> parseNumber(std::string_view text, const NumberFormat& format = NumberFormat::current());

// The same text rewritten to the plain C form ("-1234.5e3"): no groups, '.' as decimal.
std::optional<std::string> normalizeNumber(std::string_view text, const NumberFormat& format = NumberFormat::current());

} // namespace ktv
