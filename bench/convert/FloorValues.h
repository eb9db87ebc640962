// How the floors read and clean a source value, as a careful hand-written C loop would: the
// column as text, blanks trimmed, cut to the column's characters, numbers read with strtod.
// Shared by SQLite's floor and the server's COPY floor, so both clean exactly alike.
#pragma once

#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace ktv::bench {

// Column i of the current source row, blanks trimmed.
inline std::string_view text(sqlite3_stmt* st, int i)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    std::string_view s(p ? p : "", p ? static_cast<std::size_t>(sqlite3_column_bytes(st, i)) : 0);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// The first n UTF-8 characters.
inline std::string_view cut(std::string_view s, std::size_t n)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && chars++ == n)
            return s.substr(0, i);
    return s;
}

inline double number(std::string_view s)
{
    const std::string t(s);
    char* end = nullptr;
    const double d = std::strtod(t.c_str(), &end);
    return !t.empty() && end && *end == '\0' ? d : 0.0;
}

// The stock kind the transfers store for the source's kind; null for a kind they skip.
inline const char* stockKind(std::string_view tip)
{
    return tip == "Ürün" ? "U" : tip == "Ara Ürün" ? "A" : tip == "Malzeme" ? "M" : nullptr;
}

} // namespace ktv::bench
