// SQLite's own floor for a conversion: a plain loop over the source tables with one prepared
// lookup and one prepared insert per record, into the same tables and case-blind indexes, in
// one transaction, with SQLite's default settings and no layer of this program in between.
#pragma once

#include <filesystem>

namespace ktv::bench {

// Converts source into target (an existing year database), cleaning values as the transfers
// do; returns the seconds taken, opening and closing both files included.
double floorRun(const std::filesystem::path& source, const std::filesystem::path& target);

} // namespace ktv::bench
