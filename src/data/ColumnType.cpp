// Conversions follow the original engine: numeric text becomes a number in the user's
// number format, fractions going into whole-number columns round half to even, and what
// does not fit is refused at assignment instead of being cut or wrapped silently.
#include "data/ColumnType.h"

#include "data/DaoErrors.h"
#include "data/SqliteHandles.h"
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ktv::dao {

namespace {

std::string upperAscii(std::string_view s) { return text::asciiUpper(s); }

std::string trimSpaces(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

double numberFromText(const std::string& text)
{
    const auto n = parseNumber(trimSpaces(text));
    if (!n)
        raise(err::TypeMismatch);
    return *n;
}

// Divides by 10000 rounding half to even (currency into whole numbers).
std::int64_t currencyToWhole(std::int64_t scaled)
{
    std::int64_t q = scaled / 10000;
    std::int64_t r = scaled % 10000;
    if (r < 0) {
        r += 10000;
        --q;
    }
    if (r > 5000 || (r == 5000 && (q % 2 != 0)))
        ++q;
    return q;
}

std::int64_t wholeFrom(const Value& v, std::int64_t lo, std::int64_t hi)
{
    std::int64_t out = 0;
    const auto& s = v.storage();
    auto fromDouble = [&](double d) {
        if (!std::isfinite(d))
            raise(err::Overflow);
        const double r = roundHalfEven(d);
        if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
            raise(err::Overflow);
        return static_cast<std::int64_t>(r);
    };
    if (const auto* i = std::get_if<std::int64_t>(&s))
        out = *i;
    else if (const auto* d = std::get_if<double>(&s))
        return fromDouble(*d);
    else if (const auto* c = std::get_if<Currency>(&s))
        out = currencyToWhole(c->scaled);
    else if (const auto* b = std::get_if<bool>(&s))
        out = *b ? -1 : 0; // the runtime's True is -1
    else if (const auto* dt = std::get_if<Date>(&s))
        return fromDouble(dt->days);
    else if (const auto* t = std::get_if<std::string>(&s))
        return fromDouble(numberFromText(*t));
    if (out < lo || out > hi)
        raise(err::Overflow);
    return out;
}

double doubleFrom(const Value& v)
{
    const auto& s = v.storage();
    if (const auto* i = std::get_if<std::int64_t>(&s))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&s))
        return *d;
    if (const auto* c = std::get_if<Currency>(&s))
        return static_cast<double>(c->scaled) / 10000.0;
    if (const auto* b = std::get_if<bool>(&s))
        return *b ? -1.0 : 0.0;
    if (const auto* dt = std::get_if<Date>(&s))
        return dt->days;
    return numberFromText(std::get<std::string>(s));
}

Currency currencyFrom(const Value& v)
{
    constexpr double limit = 922337203685477.0;
    const auto& s = v.storage();
    if (const auto* c = std::get_if<Currency>(&s))
        return *c;
    if (const auto* t = std::get_if<std::string>(&s))
        return currencyFromText(*t);
    if (const auto* i = std::get_if<std::int64_t>(&s)) {
        if (*i > static_cast<std::int64_t>(limit) || *i < -static_cast<std::int64_t>(limit))
            raise(err::Overflow);
        return Currency{*i * 10000};
    }
    const double d = doubleFrom(v);
    if (!std::isfinite(d) || std::fabs(d) > limit)
        raise(err::Overflow);
    return Currency{static_cast<std::int64_t>(roundHalfEven(d * 10000.0))};
}

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM[:SS]" -> days since 1899-12-30.
Date dateFromText(const std::string& text)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
    const std::string t = trimSpaces(text);
    int used = 0;
    const int n = std::sscanf(t.c_str(), "%4d-%2d-%2d%n %2d:%2d:%2d", &y, &mo, &d, &used, &h, &mi, &se);
    if (n < 3 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || se > 59)
        raise(err::TypeMismatch);
    if (n == 3 && static_cast<std::size_t>(used) != t.size())
        raise(err::TypeMismatch);
    // Days from civil (proleptic Gregorian), then shift to the 1899-12-30 epoch.
    const int yy = y - (mo <= 2 ? 1 : 0);
    const int era = (yy >= 0 ? yy : yy - 399) / 400;
    const int yoe = yy - era * 400;
    const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long unixDays = static_cast<long long>(era) * 146097 + doe - 719468;
    return Date{static_cast<double>(unixDays + 25569) + (h * 3600 + mi * 60 + se) / 86400.0};
}

bool boolFrom(const Value& v)
{
    const auto& s = v.storage();
    if (const auto* b = std::get_if<bool>(&s))
        return *b;
    if (const auto* t = std::get_if<std::string>(&s)) {
        const std::string u = upperAscii(trimSpaces(*t));
        if (u == "TRUE" || u == "YES" || u == "ON")
            return true;
        if (u == "FALSE" || u == "NO" || u == "OFF")
            return false;
        return numberFromText(*t) != 0.0;
    }
    return doubleFrom(v) != 0.0;
}

} // namespace

double roundHalfEven(double d)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(d);
}

bool isTextKind(ColumnKind kind) { return kind == ColumnKind::Text || kind == ColumnKind::Memo; }

ColumnInfo columnFromDeclared(const std::string& name, const std::string& declaredType)
{
    ColumnInfo c;
    c.name = name;
    std::string t = upperAscii(trimSpaces(declaredType));
    int size = 0;
    const auto paren = t.find('(');
    if (paren != std::string::npos) {
        size = std::atoi(t.c_str() + paren + 1);
        t = trimSpaces(t.substr(0, paren));
    }
    if (t == "TEXT" || t == "VARCHAR" || t == "CHAR" || t == "NVARCHAR") {
        c.kind = ColumnKind::Text;
        c.size = size > 0 ? std::min(size, 255) : 255;
    } else if (t == "LONGTEXT" || t == "MEMO")
        c.kind = ColumnKind::Memo;
    else if (t == "TINYINT" || t == "BYTE")
        c.kind = ColumnKind::Byte;
    else if (t == "SMALLINT" || t == "SHORT")
        c.kind = ColumnKind::Short;
    else if (t == "INTEGER" || t == "INT" || t == "LONG")
        c.kind = ColumnKind::Long;
    else if (t == "DOUBLE" || t == "FLOAT" || t == "REAL")
        c.kind = ColumnKind::Double;
    else if (t == "CURRENCY" || t == "MONEY")
        c.kind = ColumnKind::Currency;
    else if (t == "DATETIME" || t == "DATE")
        c.kind = ColumnKind::DateTime;
    else if (t == "BIT" || t == "BOOLEAN" || t == "YESNO")
        c.kind = ColumnKind::Boolean;
    return c;
}

std::string declaredTypeOf(const ColumnInfo& column)
{
    // The names carry the right SQLite affinity too (TEXT for texts, INTEGER for whole numbers).
    switch (column.kind) {
    case ColumnKind::Text: return "TEXT(" + std::to_string(column.size) + ")";
    case ColumnKind::Memo: return "LONGTEXT";
    case ColumnKind::Byte: return "TINYINT";
    case ColumnKind::Short: return "SMALLINT";
    case ColumnKind::Long: return "INTEGER";
    case ColumnKind::Double: return "DOUBLE";
    case ColumnKind::Currency: return "CURRENCY";
    case ColumnKind::DateTime: return "DATETIME";
    case ColumnKind::Boolean: return "BIT";
    case ColumnKind::Other: break;
    }
    return "BLOB";
}

Currency currencyFromText(const std::string& text)
{
    // Normalised form: [-]digits[.digits][e[+-]digits]; worked on as decimal digits.
    const auto plain = normalizeNumber(trimSpaces(text));
    if (!plain)
        raise(err::TypeMismatch);
    const std::string& p = *plain;
    std::size_t i = 0;
    bool neg = false;
    if (i < p.size() && (p[i] == '-' || p[i] == '+'))
        neg = p[i++] == '-';
    std::string digits;
    int pointPos = -1;
    for (; i < p.size() && p[i] != 'e' && p[i] != 'E'; ++i) {
        if (p[i] == '.')
            pointPos = static_cast<int>(digits.size());
        else
            digits += p[i];
    }
    if (pointPos < 0)
        pointPos = static_cast<int>(digits.size());
    if (i < p.size()) {
        const long e = std::strtol(p.c_str() + i + 1, nullptr, 10);
        if (e > 40 || e < -40)
            return e > 0 && digits.find_first_not_of('0') != std::string::npos
                       ? (raise(err::Overflow), Currency{})
                       : Currency{0};
        pointPos += static_cast<int>(e);
    }
    // Whole part and the four decimals, then round half to even on the rest.
    auto digitAt = [&](int k) -> int {
        return k >= 0 && k < static_cast<int>(digits.size()) ? digits[k] - '0' : 0;
    };
    unsigned long long scaled = 0;
    const unsigned long long maxScaled =
        static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    for (int k = std::min(0, pointPos); k < pointPos + 4; ++k) {
        if (scaled > (maxScaled - 9) / 10)
            raise(err::Overflow);
        scaled = scaled * 10 + static_cast<unsigned long long>(digitAt(k));
    }
    const int first = digitAt(pointPos + 4);
    bool restNonZero = false;
    for (int k = pointPos + 5; k < static_cast<int>(digits.size()); ++k)
        restNonZero = restNonZero || digitAt(k) != 0;
    if (first > 5 || (first == 5 && (restNonZero || scaled % 2 == 1)))
        ++scaled;
    if (scaled > maxScaled)
        raise(err::Overflow);
    const auto s = static_cast<std::int64_t>(scaled);
    return Currency{neg ? -s : s};
}

Value convertForColumn(const ColumnInfo& column, const Value& value)
{
    if (value.isNull())
        return value;
    switch (column.kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo: {
        std::string text = value.isText() ? std::get<std::string>(value.storage()) : value.toText();
        // Text columns hold valid UTF-8 without NUL characters, so every SQLite tool can read
        // them: bytes that are not UTF-8 are read as Windows-1254 (the code page older
        // sources were written in, where every byte is a character) and NULs are dropped.
        std::size_t chars = text::plainUtf8Chars(text);
        if (chars == text::kNotPlainUtf8) {
            text = text::toUtf8(text);
            std::erase(text, '\0');
            chars = text::charCount(text);
        }
        if (column.kind == ColumnKind::Text && chars > static_cast<std::size_t>(column.size))
            raise(err::FieldTooSmall);
        return Value(std::move(text));
    }
    case ColumnKind::Byte: return Value(wholeFrom(value, 0, 255));
    case ColumnKind::Short: return Value(wholeFrom(value, -32768, 32767));
    case ColumnKind::Long:
        return Value(wholeFrom(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()));
    case ColumnKind::Double: return Value(doubleFrom(value));
    case ColumnKind::Currency: return Value(currencyFrom(value));
    case ColumnKind::DateTime: {
        if (const auto* d = std::get_if<Date>(&value.storage()))
            return Value(*d);
        if (value.isText()) {
            const std::string& t = std::get<std::string>(value.storage());
            if (!isNumericText(trimSpaces(t)))
                return Value(dateFromText(t));
        }
        return Value(Date{doubleFrom(value)});
    }
    case ColumnKind::Boolean: return Value(boolFrom(value));
    case ColumnKind::Other: break;
    }
    return value;
}

Value convertForColumn(const ColumnInfo& column, Value&& value)
{
    convertInPlace(column, value);
    return std::move(value);
}

void convertInPlace(const ColumnInfo& column, Value& value)
{
    // Only text that is already valid UTF-8 without NULs is kept as it is; everything else
    // goes the general way above.
    if (value.isText() && isTextKind(column.kind)) {
        const std::size_t chars = text::plainUtf8Chars(std::get<std::string>(value.storage()));
        if (chars != text::kNotPlainUtf8) {
            if (column.kind == ColumnKind::Text && chars > static_cast<std::size_t>(column.size))
                raise(err::FieldTooSmall);
            return;
        }
    }
    value = convertForColumn(column, static_cast<const Value&>(value));
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& value, bool keepsValue)
{
    struct Binder {
        sqlite3_stmt* st;
        int i;
        sqlite3_destructor_type lifetime;
        int operator()(const Null&) const { return sqlite3_bind_null(st, i); }
        int operator()(bool b) const { return sqlite3_bind_int(st, i, b ? 1 : 0); }
        int operator()(std::int64_t v) const { return sqlite3_bind_int64(st, i, v); }
        int operator()(double d) const { return sqlite3_bind_double(st, i, d); }
        int operator()(const Currency& c) const { return sqlite3_bind_int64(st, i, c.scaled); }
        int operator()(const Date& d) const { return sqlite3_bind_double(st, i, d.days); }
        int operator()(const std::string& s) const
        {
            return sqlite3_bind_text64(st, i, s.data(), s.size(), lifetime, SQLITE_UTF8);
        }
    };
    const int rc =
        std::visit(Binder{stmt, index, keepsValue ? SQLITE_STATIC : SQLITE_TRANSIENT}, value.storage());
    if (rc == SQLITE_TOOBIG)
        raise(err::FieldTooSmall);
    checkSqlite(rc, sqlite3_db_handle(stmt));
}

void readValueInto(sqlite3_stmt* stmt, int index, const ColumnInfo& column, Value& into)
{
    std::string* held = into.textIf();
    // A text column's value is text whatever class it was stored in (see below).
    if (held && isTextKind(column.kind) && sqlite3_column_type(stmt, index) != SQLITE_NULL) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        held->assign(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
        return;
    }
    into = readValue(stmt, index, column);
}

Value readValue(sqlite3_stmt* stmt, int index, const ColumnInfo& column)
{
    const int type = sqlite3_column_type(stmt, index);
    if (type == SQLITE_NULL)
        return Value(Null{});
    auto text = [&]() {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        return std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
    };
    // Values another tool stored in an unexpected class come back as they are.
    switch (column.kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo: return Value(text());
    case ColumnKind::Byte:
    case ColumnKind::Short:
    case ColumnKind::Long:
        if (type == SQLITE_INTEGER)
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, index)));
        break;
    case ColumnKind::Double:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return Value(sqlite3_column_double(stmt, index));
        break;
    case ColumnKind::Currency:
        if (type == SQLITE_INTEGER)
            return Value(Currency{sqlite3_column_int64(stmt, index)});
        if (type == SQLITE_FLOAT)
            return Value(Currency{
                static_cast<std::int64_t>(roundHalfEven(sqlite3_column_double(stmt, index) * 10000.0))});
        break;
    case ColumnKind::DateTime:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return Value(Date{sqlite3_column_double(stmt, index)});
        break;
    case ColumnKind::Boolean:
        if (type == SQLITE_INTEGER)
            return Value(sqlite3_column_int64(stmt, index) != 0);
        break;
    case ColumnKind::Other: break;
    }
    if (type == SQLITE_INTEGER)
        return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, index)));
    if (type == SQLITE_FLOAT)
        return Value(sqlite3_column_double(stmt, index));
    return Value(text());
}

} // namespace ktv::dao
