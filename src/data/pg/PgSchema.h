// The layout of a company database on the server: one schema per database of the set, its
// tables and columns as the template names them (quoted, in the template's order), with
// types that hold what the SQLite file holds, plus a row number that keeps the records in
// the order they were stored. Also the text form in which values travel to and from the
// server.
#pragma once

#include "data/Schema.h"
#include "data/pg/PgConnection.h"

#include <string>
#include <vector>

namespace ktv::dao::pg {

// The hidden row number of every table: the order of a walk (SQLite's rowid) and the record
// an Edit changes. Not shown as a field.
inline constexpr const char* kRowColumn = "ktv_rowid";

// The letters a key comparison folds: ASCII a-z only, as the SQLite files' NOCASE does.
// upper() under the "C" collation is independent of the server's locale and collation.
std::string foldedSql(const std::string& quotedColumn);

// Makes the schema from the template's tables in one transaction, under the advisory lock
// writers take, so two workstations creating it at once end with one schema; then checks
// that it has every table and column of the template (err 3343 naming it otherwise). With
// create false a missing schema is not made: returns false.
bool ensureSchema(PgConnection& conn, const std::string& schema, const std::vector<TableDef>& tables,
                  bool create);

// The statement that takes the lock of a schema for the rest of the transaction: every
// writer of that schema takes turns, batch by batch, as writers of one file do.
Query lockQuery(const std::string& schema);

// A value as a parameter's text (already converted to its column's kind); nullopt for Null.
Param toParam(const Value& value);
// A value the server returned as text, read as the column's kind.
Value fromText(const ColumnInfo& column, const char* text, int length);
// The server's type of a column's array, for a statement that inserts many records at once.
std::string arrayType(const ColumnInfo& column);
// Appends a value to an array literal ("{...}") under construction.
void appendArrayElement(std::string& array, const Param& value);

} // namespace ktv::dao::pg
