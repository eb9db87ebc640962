// Column types like the original engine's, read from the declared type of an SQLite column,
// and the conversion of an assigned value to the column's type (or the engine's refusal).
#pragma once

#include "app/Value.h"

#include <string>

struct sqlite3_stmt;

namespace ktv::dao {

enum class ColumnKind { Text, Memo, Byte, Short, Long, Double, Currency, DateTime, Boolean, Other };

struct ColumnInfo {
    std::string name;
    ColumnKind kind = ColumnKind::Other;
    int size = 0; // maximum characters of a Text column
};

// "TEXT(50)" -> Text 50, "LONGTEXT"/"MEMO" -> Memo, "TINYINT"/"BYTE", "SMALLINT"/"SHORT",
// "INTEGER"/"LONG", "DOUBLE", "CURRENCY", "DATETIME", "BIT"/"BOOLEAN"; anything else Other.
ColumnInfo columnFromDeclared(const std::string& name, const std::string& declaredType);
// The declared type this program writes for a kind ("TEXT(50)", "SMALLINT", ...).
std::string declaredTypeOf(const ColumnInfo& column);
bool isTextKind(ColumnKind kind);

// The value as the column stores it. Throws err::FieldTooSmall, err::Overflow or
// err::TypeMismatch for what does not fit. Null stays Null.
Value convertForColumn(const ColumnInfo& column, const Value& value);
// The same for a value the caller gives up: text into a text column is kept, not copied.
Value convertForColumn(const ColumnInfo& column, Value&& value);
// The same, leaving the value where it is when it needs no change (text that fits as it stands).
void convertInPlace(const ColumnInfo& column, Value& value);

// Binds a converted value (checking the result); reads a column back as the kind says.
// Bound text is copied unless keepsValue says the value outlives the statement's step.
void bindValue(sqlite3_stmt* stmt, int index, const Value& value, bool keepsValue = false);
// The same into a value the caller keeps: text goes into the text it holds.
void readValueInto(sqlite3_stmt* stmt, int index, const ColumnInfo& column, Value& into);
Value readValue(sqlite3_stmt* stmt, int index, const ColumnInfo& column);

// Exact currency from numeric text in the user's number format (no binary floating point).
Currency currencyFromText(const std::string& text);

// Rounding half to even, as the engine rounded fractions into whole-number columns.
double roundHalfEven(double d);

} // namespace ktv::dao
