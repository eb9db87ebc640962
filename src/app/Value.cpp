#include "app/Value.h"

#include "platform/core/NumberFormat.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace ktv {

namespace {

std::string localized(std::string plain)
{
    const char dec = NumberFormat::current().decimal;
    if (dec != '.')
        for (char& c : plain)
            if (c == '.')
                c = dec;
    return plain;
}

std::string dateText(const Date& d)
{
    // Days since 1899-12-30 -> "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS".
    const double whole = d.days < 0 ? -static_cast<double>(static_cast<long long>(-d.days))
                                    : static_cast<double>(static_cast<long long>(d.days));
    double frac = d.days - whole;
    if (frac < 0)
        frac = -frac;
    const long long seconds = static_cast<long long>((static_cast<long long>(whole) - 25569) * 86400LL +
                                                     static_cast<long long>(frac * 86400.0 + 0.5));
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    if (tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

} // namespace

std::string currencyToPlainText(Currency c)
{
    const bool neg = c.scaled < 0;
    const unsigned long long a =
        neg ? 0ULL - static_cast<unsigned long long>(c.scaled) : static_cast<unsigned long long>(c.scaled);
    std::string out = (neg ? "-" : "") + std::to_string(a / 10000);
    unsigned long long frac = a % 10000;
    if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04llu", frac);
        std::string f = buf;
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        out += "." + f;
    }
    return out;
}

std::string doubleToPlainText(double d)
{
    // As "%.15g" writes it in the C locale, whatever locale the process runs in.
    char buf[40];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15).ptr);
}

std::string Value::toText() const
{
    struct Visitor {
        std::string operator()(const Null&) const { return {}; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(std::int64_t i) const { return std::to_string(i); }
        std::string operator()(double d) const { return localized(doubleToPlainText(d)); }
        std::string operator()(const Currency& c) const { return localized(currencyToPlainText(c)); }
        std::string operator()(const Date& d) const { return dateText(d); }
        std::string operator()(const std::string& s) const { return s; }
    };
    return std::visit(Visitor{}, m_v);
}

} // namespace ktv
