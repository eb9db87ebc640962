// A value as a control or a database field holds it: Null, a boolean, a whole number,
// a floating-point number, an exact currency amount, a date, or text (UTF-8).
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace ktv {

struct Null {
    bool operator==(const Null&) const = default;
};

// Currency: a fixed-point amount in ten-thousandths, exact like the engine's currency.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
};

// Date: days since 1899-12-30 with the time of day as the fraction, like the engine's date.
struct Date {
    double days = 0;
    bool operator==(const Date&) const = default;
};

class Value {
public:
    using Storage = std::variant<Null, bool, std::int64_t, double, Currency, Date, std::string>;

    Value() = default;
    Value(Null) {}
    Value(bool b) : m_v(b) {}
    Value(int i) : m_v(static_cast<std::int64_t>(i)) {}
    Value(std::int64_t i) : m_v(i) {}
    Value(double d) : m_v(d) {}
    Value(Currency c) : m_v(c) {}
    Value(Date d) : m_v(d) {}
    Value(std::string s) : m_v(std::move(s)) {}
    Value(const char* s) : m_v(std::string(s)) {}

    bool isNull() const { return std::holds_alternative<Null>(m_v); }
    bool isText() const { return std::holds_alternative<std::string>(m_v); }

    // The value as text: numbers in the user's number format (as the runtime's text
    // conversion wrote them), Null as empty text.
    std::string toText() const;

    const Storage& storage() const { return m_v; }
    // The text held, to be taken over by the caller; null when the value is no text.
    std::string* textIf() { return std::get_if<std::string>(&m_v); }
    bool operator==(const Value&) const = default;

private:
    Storage m_v;
};

// Text of a currency amount with up to four decimals, trailing zeros dropped, '.' as decimal.
std::string currencyToPlainText(Currency c);
// Text of a double as the runtime wrote it: up to 15 significant digits, '.' as decimal.
std::string doubleToPlainText(double d);

} // namespace ktv
