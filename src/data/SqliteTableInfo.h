// What the engine knows of one table of an SQLite database: its columns with their declared
// types, its name and columns ready for SQL, and the order its records are walked in.
#pragma once

#include "data/ColumnType.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace ktv::dao {

struct TableInfo {
    std::string name; // as the file spells it
    std::vector<ColumnInfo> columns;
    std::unordered_map<std::string, int> byName;      // as the file spells them
    std::unordered_map<std::string, int> byLowerName; // filled with the columns
    std::string quotedName;                           // the table's name ready for SQL
    // A table declared WITHOUT ROWID (by another tool) has no rowid: its records are walked
    // in the order of its primary key, and it has no dynaset.
    bool withoutRowid = false;
    std::string order = " ORDER BY rowid"; // the walk's order
    std::string orderBackwards = " ORDER BY rowid DESC";
    std::vector<std::string> quotedColumns;         // the columns' names ready for SQL
    int columnIndex(const std::string& name) const; // without regard to ASCII case; -1 when unknown
    // The same, trying the column at next first and leaving next after the one found: the
    // per-record loops name their columns in table order.
    int columnIndex(const std::string& name, int& next) const;
    std::string selectList() const; // "c1","c2",... in table order
    // The INSERT of these columns (indexes), parameter ?n for the n-th.
    std::string insertSql(const std::vector<int>& columns) const;
};

} // namespace ktv::dao
