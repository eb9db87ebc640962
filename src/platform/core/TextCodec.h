// UTF-8 helpers: validity, counting and cutting by characters, and decoding of the
// Windows code page 1254 (Turkish) that older files were written in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ktv::text {

bool isValidUtf8(std::string_view bytes);

// Number of characters (code points) of valid UTF-8 text.
std::size_t charCount(std::string_view utf8);

// The number of characters of text that is valid UTF-8 and holds no NUL, found in one pass;
// kNotPlainUtf8 for any other bytes.
inline constexpr std::size_t kNotPlainUtf8 = static_cast<std::size_t>(-1);
std::size_t plainUtf8Chars(std::string_view bytes);

// The first n characters of valid UTF-8 text.
std::string leftChars(std::string_view utf8, std::size_t n);

// Decodes Windows-1254 bytes into UTF-8.
std::string cp1254ToUtf8(std::string_view bytes);

// Valid UTF-8 stays as it is; anything else is read as Windows-1254.
std::string toUtf8(std::string_view bytes);

// Removes blanks (space and tab) from both ends.
std::string trimBlanks(std::string_view s);

// ASCII-only upper case, for mode and name comparisons. Not std::toupper, which follows the
// C library's locale: under a Turkish one 'i' has no single-byte capital and stays 'i'.
constexpr char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace ktv::text
