// Creating a database of this program's format from a schema description. The template
// generator, the tests and the sample-source tool all make their files this way.
//
// Schema text, one statement a line ('#' starts a comment, blank lines are ignored):
//
//   TABLE CariKart
//     Tip         TEXT(3)
//     Kod         TEXT(10)
//     Adres       MEMO
//     KrediLimit  CURRENCY   DEFAULT 0
//     Statu       SHORT      DEFAULT 0
//     INDEX Tip, Kod
//
// Column types: TEXT(n) (n = 1..255 characters; TEXT alone is 255), MEMO, BYTE, SHORT
// (16-bit), LONG (32-bit), DOUBLE, CURRENCY (exact, four decimals), DATETIME, BOOLEAN.
// DEFAULT takes 'quoted text' ('' for a quote) or a plain number ("1.5", '.' as decimal).
// INDEX names one or more columns of the table above it (a lookup index, not unique).
#pragma once

#include "data/ColumnType.h"

#include <optional>
#include <string>
#include <vector>

namespace ktv::dao {

struct ColumnDef {
    ColumnInfo column;
    std::optional<Value> defaultValue; // already converted to the column's type
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<std::vector<std::string>> indexes;
};

// Throws ktv::Error err::SyntaxError naming the line for text it cannot read.
std::vector<TableDef> parseSchema(const std::string& schemaText);

// Creates a new database file at `path` with the tables of the schema; with a non-empty
// password the file opens only with ";pwd=<password>". The file appears complete or not
// at all (written beside it, then renamed into place). An existing file is never replaced:
// err::DatabaseExists.
void CreateDatabase(const std::string& path, const std::string& schemaText, const std::string& password = "");

} // namespace ktv::dao
