// Upper and lower case conversion that gets the Turkish letters right (dotted and dotless i,
// ç, ğ, ö, ş, ü) whatever the general case conversion does with them.
#pragma once

#include <QString>

namespace ktv {

// Upper-cases `text` in place and returns the result. Callers pass a working copy.
QString TurkishUpper(QString& text);

// Lower-cases `text` in place and returns the result. Callers pass a working copy.
QString TurkishLower(QString& text);

} // namespace ktv
