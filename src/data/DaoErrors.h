// The engine's error numbers and descriptions, and the one quoting helper for statements.
// Numbers are those the original engine used for the same failures, so reports read as before.
#pragma once

#include "platform/core/Error.h"

#include <string>

namespace ktv::dao {

namespace err {
constexpr int FileNotFound = 3024;       // "Could not find file '...'."
constexpr int NotValidPassword = 3031;   // "Not a valid password."
constexpr int UnrecognizedFormat = 3343; // "Unrecognized database format '...'."
constexpr int TableNotFound = 3078;      // "... cannot find the input table or query '...'."
constexpr int ItemNotFound = 3265;       // "Item not found in this collection."
constexpr int FieldTooSmall = 3163;      // "The field is too small to accept the amount of data ..."
constexpr int Overflow = 6;              // "Overflow"
constexpr int TypeMismatch = 13;         // "Type mismatch"
constexpr int NoCurrentRecord = 3021;    // "No current record."
constexpr int SyntaxError = 3075;        // "Syntax error in query expression '...'."
constexpr int ReadOnly = 3027;           // "Cannot update. Database or object is read-only."
// Further numbers of the same engine used by this layer.
constexpr int UpdateWithoutAddNew = 3020; // "Update or CancelUpdate without AddNew or Edit."
constexpr int TooFewParameters = 3061;    // a condition names a column the table does not have
constexpr int CriteriaMismatch = 3464;    // "Data type mismatch in criteria expression."
constexpr int CannotOpen = 3051;          // the file exists but cannot be opened (permissions, locks)
constexpr int Locked = 3218;              // "Could not update; currently locked."
constexpr int DatabaseExists = 3204;      // "Database already exists."
constexpr int ObjectClosed = 3420;        // "Object invalid or no longer set."
constexpr int RecordDeleted = 3167;       // "Record is deleted."
constexpr int EngineFailure = 3709;       // any other storage failure, with SQLite's own message
} // namespace err

// The error with the engine's own description for the number; `name` fills the
// quoted part of descriptions that name a file, table or statement.
[[noreturn]] void raise(int number, const std::string& name = {});
// An error with a description of the caller's choice.
[[noreturn]] void raiseText(int number, const std::string& description);
std::string describe(int number, const std::string& name = {});

// The one way to put a value into a statement: 'text' with every ' doubled.
std::string Quoted(const std::string& value);

} // namespace ktv::dao
