// Stored Jet text to UTF-8, from the page bytes straight into a caller's string: UCS-2 and
// its compressed form (Jet 4), the file's code page (Jet 3). Gives exactly what the iconv
// converters of the reader give for the same bytes, without their per-call set-up.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

namespace ktv::jet {

class TextDecoder;

class StoredText {
public:
    // jet3: text in the code page named by charset (an iconv name); otherwise UCS-2.
    StoredText(bool jet3, const std::string& charset);
    ~StoredText();
    StoredText(const StoredText&) = delete;
    StoredText& operator=(const StoredText&) = delete;

    // What the two kinds of column make of the same bytes differs where the bytes are odd:
    // a text value ends at its first zero character and drops a last odd byte, as libmdb's
    // bound text did; a memo keeps zero characters and shows a last odd byte as '?'.
    enum class Kind { Text, Memo };

    // Replaces out with the UTF-8 of the stored bytes; a character the file's encoding
    // does not define becomes '?'.
    void decode(const unsigned char* bytes, std::size_t size, Kind kind, std::string& out) const;

private:
    void decodeUcs2(const unsigned char* p, std::size_t n, Kind kind, std::string& out) const;
    void decodeCodePage(const unsigned char* p, std::size_t n, Kind kind, std::string& out) const;

    bool m_jet3;
    // A one-byte code page: the UTF-8 of each byte (at most 3 bytes), and its length.
    std::array<std::array<char, 4>, 256> m_utf8{};
    std::array<unsigned char, 256> m_length{};
    bool m_asciiAsItself = false; // bytes 1 to 127 are the same characters in UTF-8
    // A code page of several bytes a character is decoded by iconv.
    std::unique_ptr<TextDecoder> m_multiByte;
};

} // namespace ktv::jet
