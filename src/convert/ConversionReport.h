// What a conversion did, table by table; the command-line tool prints it as JSON.
#pragma once

#include <string>
#include <vector>

namespace ktv {

struct TableReport {
    std::string table;  // source table name
    long read = 0;      // source records walked
    long added = 0;     // cards added to the target
    long present = 0;   // cards whose key was already in the target
    long skipped = 0;   // records skipped for an unknown stock kind
    long cut = 0;       // values cut to their column length: keys, and the values of cards added
};

struct ConversionReport {
    bool confirmed = false; // false when the operator answered No (or the request was refused)
    bool dryRun = false;
    std::string target;     // the year database written (or that would be written)
    std::vector<TableReport> tables;
};

std::string ReportToJson(const ConversionReport& report);

} // namespace ktv
