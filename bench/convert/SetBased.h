// The set-based baselines of the conversion benchmark: the same cleaning and the same
// first-record-wins key rule as the transfers, one INSERT ... SELECT per table, in one
// transaction.
#pragma once

#include <filesystem>

namespace ktv::bench {

enum class Baseline { Windowed, Indexed };

// Windowed numbers the records of each key (all work timed); Indexed looks the first record
// of a key up through an expression index built on the source beforehand (see
// buildSourceIndex), the fastest set-based form found. Converts into target (an existing
// year database, empty or full); returns the seconds taken.
double setBased(const std::filesystem::path& target, const std::filesystem::path& source, Baseline variant);

// The expression indexes the Indexed form needs, on a copy of the source; returns seconds.
double buildSourceIndex(const std::filesystem::path& source);

// Cards in the three target tables, so the printout shows that every form did the same work.
long cards(const std::filesystem::path& database);

} // namespace ktv::bench
