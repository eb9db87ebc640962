// Builds a Jet 4 file with one large table for the reading benchmark: the table's data page
// is filled with libmdb's row writer, then copied into every page its usage map can address.
#pragma once

#include <string>

namespace ktv::bench {

// Writes the file and returns the number of rows of its table "Table1"; throws on failure.
long makeBigJetFile(const std::string& templatePath, const std::string& target);

} // namespace ktv::bench
