// What a conversion did, table by table; the command-line tool prints it as JSON.
#pragma once

#include <string>
#include <vector>

namespace ktv {

struct TableReport {
    std::string table; // source table name
    long read = 0;     // source records walked
    long added = 0;    // cards added to the target
    long present = 0;  // cards whose key was already in the target
    long skipped = 0;  // records skipped for an unknown stock kind
    long cut = 0;      // values cut to their column length: keys, and the values of cards added
};

struct ConversionReport {
    bool confirmed = false; // false when the operator answered No (or the request was refused)
    bool dryRun = false;
    std::string target;       // the year database written (or that would be written)
    std::string numberFormat; // the locale name numbers were read by ("C" when none is set)
    char decimalSeparator = '.';
    char groupSeparator = ',';
    std::vector<TableReport> tables;
};

// Both are valid UTF-8 whatever bytes the texts they carry hold.
std::string ReportToJson(const ConversionReport& report);
// The report of a run that failed: its error instead of the tables.
std::string FailedRunToJson(int number, const std::string& description);

} // namespace ktv
