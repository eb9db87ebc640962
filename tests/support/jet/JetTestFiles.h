// Helpers of the Jet source tests: where the real Jet files are, copying one into a
// temporary folder, and reading a table the way the mdb-export tool prints it.
#pragma once

#include "app/Value.h"
#include "support/TestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace ktv::test {

// The folder holding the real Jet test files.
std::string jetTestDataDir();

// Copies a test file into the folder and returns the copy's path.
std::string copyJetFile(const TempDir& dir, const std::string& name);

// One field of mdb-export's CSV: its text and whether it was quoted (text and dates are).
struct CsvField {
    std::string text;
    bool quoted = false;
};
using CsvRow = std::vector<CsvField>;

// Parses CSV as mdb-export and the dump tool print it (quoted fields may hold line breaks;
// CR LF line ends are read as LF).
std::vector<CsvRow> parseCsv(const std::string& text);

// Runs mdb-export on a table (dates as "%Y-%m-%d %H:%M:%S", Null as an unquoted N) and
// returns header and rows; nothing when the tool is not installed. With binaryAsHex, OLE and
// binary values print as hex digits (so do GUIDs: the hex of their text).
std::optional<std::vector<CsvRow>> mdbExport(const std::string& path, const std::string& table,
                                             bool binaryAsHex = false);

// Every row of a table through the engine's Jet reader, each field as the reader gives it.
std::vector<std::vector<Value>> readJetTable(const std::string& path, const std::string& password,
                                             const std::string& table);

// A date value (days since 1899-12-30) as "%Y-%m-%d %H:%M:%S".
std::string jetDateText(double days);

} // namespace ktv::test
