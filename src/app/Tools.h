// The value functions every part of the program reads controls and records through.
#pragma once

#include "app/Value.h"

namespace ktv {

// Null becomes empty text; otherwise the value as text without leading and trailing
// blanks. With keepAsIs, a value that is not Null comes back untouched.
Value N_T(const Value& value, bool keepAsIs = false);

// The trimmed text when it is numeric in the user's number format, else the number 0.
Value N_TVAL(const Value& value);

// N_T as plain text, the form every caller wants.
inline std::string N_Ts(const Value& value) { return N_T(value).toText(); }

} // namespace ktv
