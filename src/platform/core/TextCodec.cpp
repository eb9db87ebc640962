#include "platform/core/TextCodec.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace ktv::text {

namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not a valid one.
std::size_t sequenceLength(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2;
        min = 0x80;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        min = 0x800;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        min = 0x10000;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1254 bytes 0x80..0xFF. Unassigned bytes map to U+FFFD.
constexpr std::array<char16_t, 128> kCp1254 = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0xFFFD, 0xFFFD, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x011E, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF,
};

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = sequenceLength(bytes, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::size_t plainUtf8Chars(std::string_view bytes)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < bytes.size(); ++chars) {
        // Eight bytes at a time while they are ASCII without NUL (most stored text); where a
        // word holds another byte, the ASCII bytes in front of it are taken in one step.
        while (bytes.size() - i >= 8) {
            std::uint64_t w;
            std::memcpy(&w, bytes.data() + i, 8);
            constexpr std::uint64_t ones = 0x0101010101010101ULL;
            constexpr std::uint64_t highs = 0x8080808080808080ULL;
            // The lowest flagged byte is exactly the first one that is NUL or not ASCII.
            const std::uint64_t other = (w & highs) | ((w - ones) & ~w & highs);
            if (other == 0) {
                i += 8;
                chars += 8;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little) {
                const auto ascii = static_cast<std::size_t>(std::countr_zero(other) / 8);
                i += ascii;
                chars += ascii;
            }
            break;
        }
        if (i >= bytes.size())
            break;
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x01 && c < 0x80) { // the common case: one byte, no decoding
            ++i;
            continue;
        }
        // A Turkish letter (ç, ğ, ı, İ, ö, ş, ü and their capitals) takes two bytes: a lead
        // byte C2..DF and one continuation byte always make a valid character.
        if (c >= 0xC2 && c <= 0xDF && i + 1 < bytes.size() &&
            (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        const std::size_t len = c == 0 ? 0 : sequenceLength(bytes, i);
        if (len == 0)
            return kNotPlainUtf8;
        i += len;
    }
    return chars;
}

std::size_t charCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string leftChars(std::string_view utf8, std::size_t n)
{
    std::size_t i = 0;
    std::size_t seen = 0;
    while (i < utf8.size()) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == n)
                break;
            ++seen;
        }
        ++i;
    }
    return std::string(utf8.substr(0, i));
}

std::string cp1254ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else
            appendUtf8(out, kCp1254[c - 0x80]);
    }
    return out;
}

std::string toUtf8(std::string_view bytes)
{
    return isValidUtf8(bytes) ? std::string(bytes) : cp1254ToUtf8(bytes);
}

std::string trimBlanks(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string asciiUpper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string asciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && asciiUpper(a) == asciiUpper(b);
}

} // namespace ktv::text
