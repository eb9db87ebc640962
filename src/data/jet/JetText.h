// Text as a Jet file stores it: UTF-8 to the header's code page (Jet 3) or to UCS-2 with the
// format's compression (Jet 4). Strict: a character the target cannot hold is an error.
#pragma once

#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>

namespace ktv::jet {

// Converts UTF-8 to one charset; the converter is opened once, as the writer encodes every value.
class TextEncoder {
public:
    explicit TextEncoder(const std::string& charset);
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    // The bytes of the text, or nothing when a character has no place in the charset.
    std::optional<std::string> encode(std::string_view utf8);

private:
    iconv_t m_cd;
};

// Converts one charset to UTF-8, for text the reader takes from the pages itself (memos);
// a sequence the charset does not define becomes '?'.
class TextDecoder {
public:
    explicit TextDecoder(const std::string& charset);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    std::string decode(std::string_view bytes);

private:
    iconv_t m_cd;
    std::size_t m_unit; // bytes skipped past an undefined sequence
};

// Jet 4 text as plain UCS-2LE: the compressed form (starting FF FE) expanded, any other as it is.
std::string expandUcs2(std::string_view stored);

// The bytes of UTF-8 text in the iconv charset, or nothing when a character has no place in it.
std::optional<std::string> encodeText(const char* charset, std::string_view utf8);

// UCS-2LE bytes in the Jet 4 compressed form (FF FE, then one byte for every character below
// U+0100, a zero byte switching between one- and two-byte characters), or nothing when the
// form cannot hold them (a character whose low byte is zero) or would not be shorter.
std::optional<std::string> compressUcs2(std::string_view ucs2le);

} // namespace ktv::jet
