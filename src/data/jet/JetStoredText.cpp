// Stored Jet text to UTF-8 (see JetStoredText.h). The code page's table is made by the same
// iconv converter the reader used per value, one byte at a time, so the two cannot differ.
#include "data/jet/JetStoredText.h"

#include "data/jet/JetText.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <string_view>

namespace ktv::jet {

namespace {

// One UCS-2 unit as UTF-8; a surrogate, which UCS-2 does not define, as '?'.
inline char* putUnit(char* o, unsigned u)
{
    if (u < 0x80) {
        *o++ = static_cast<char>(u);
    } else if (u < 0x800) {
        *o++ = static_cast<char>(0xC0 | u >> 6);
        *o++ = static_cast<char>(0x80 | (u & 0x3F));
    } else if (u >= 0xD800 && u < 0xE000) {
        *o++ = '?';
    } else {
        *o++ = static_cast<char>(0xE0 | u >> 12);
        *o++ = static_cast<char>(0x80 | (u >> 6 & 0x3F));
        *o++ = static_cast<char>(0x80 | (u & 0x3F));
    }
    return o;
}

// Copies the run of plain ASCII bytes (1 to 127) at p[i..n) to o, eight at a time, and
// stops at the first word holding another byte; the caller goes on byte by byte from there.
inline void copyAsciiRun(const unsigned char* p, std::size_t& i, std::size_t n, char*& o)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    while (i + 8 <= n) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (((w - ones) | w) & highs) // a byte of zero or of 128 and above
            return;
        std::memcpy(o, &w, 8);
        o += 8;
        i += 8;
    }
}

} // namespace

StoredText::StoredText(bool jet3, const std::string& charset) : m_jet3(jet3)
{
    if (!jet3)
        return;
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    bool oneByte = cd != reinterpret_cast<iconv_t>(-1);
    for (int b = 0; b < 256 && oneByte; ++b) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char in = static_cast<char>(b);
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* o = m_utf8[static_cast<std::size_t>(b)].data();
        std::size_t outLeft = 4;
        if (iconv(cd, &inPtr, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno != EILSEQ) {
                oneByte = false; // the first byte of a longer character (or more than 3 bytes out)
                break;
            }
            m_utf8[static_cast<std::size_t>(b)] = {'?'};
            outLeft = 3;
        }
        m_length[static_cast<std::size_t>(b)] = static_cast<unsigned char>(4 - outLeft);
    }
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    m_asciiAsItself = oneByte;
    for (int b = 1; b < 128 && oneByte; ++b)
        if (m_length[static_cast<std::size_t>(b)] != 1 || m_utf8[static_cast<std::size_t>(b)][0] != b)
            m_asciiAsItself = false;
    if (!oneByte)
        m_multiByte = std::make_unique<TextDecoder>(charset);
}

StoredText::~StoredText() = default;

void StoredText::decode(const unsigned char* bytes, std::size_t size, Kind kind, std::string& out) const
{
    if (m_jet3)
        decodeCodePage(bytes, size, kind, out);
    else
        decodeUcs2(bytes, size, kind, out);
}

namespace {

// UCS-2 units to UTF-8 at o; returns the end. A text value ends at a zero character, a memo
// keeps it; a last odd byte is dropped from text and shown as '?' in a memo.
char* ucs2ToUtf8(const unsigned char* p, std::size_t n, StoredText::Kind kind, char* o)
{
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        // Compressed: one byte for a character below U+0100, two for any other, a zero byte
        // switching between them; so no zero character can be stored, and an odd last byte
        // of a two-byte run is dropped.
        bool oneByte = true;
        for (std::size_t i = 2; i < n;) {
            if (p[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                copyAsciiRun(p, i, n, o);
                if (i < n && p[i] != 0)
                    o = putUnit(o, p[i++]);
            } else if (i + 1 < n) {
                o = putUnit(o, p[i] | static_cast<unsigned>(p[i + 1]) << 8);
                i += 2;
            } else {
                break;
            }
        }
        return o;
    }
    std::size_t i = 0;
    for (; i + 1 < n; i += 2) {
        const unsigned u = p[i] | static_cast<unsigned>(p[i + 1]) << 8;
        if (u == 0 && kind == StoredText::Kind::Text)
            return o;
        o = putUnit(o, u);
    }
    if (i + 1 == n && kind == StoredText::Kind::Memo)
        *o++ = '?';
    return o;
}

} // namespace

void StoredText::decodeUcs2(const unsigned char* p, std::size_t n, Kind kind, std::string& out) const
{
    // A byte gives at most two bytes of UTF-8 (a one-byte character below U+0100, or two
    // thirds of a three-byte one), and a last odd byte one '?'. A text value (at most 255
    // characters) goes through a buffer on the stack and is copied into the text the value
    // already holds; a longer memo is decoded where it will stay.
    char buffer[2048];
    if (2 * n + 1 <= sizeof buffer) {
        out.assign(buffer, static_cast<std::size_t>(ucs2ToUtf8(p, n, kind, buffer) - buffer));
        return;
    }
    out.resize(2 * n + 1);
    out.resize(static_cast<std::size_t>(ucs2ToUtf8(p, n, kind, out.data()) - out.data()));
}

void StoredText::decodeCodePage(const unsigned char* p, std::size_t n, Kind kind, std::string& out) const
{
    if (m_multiByte) {
        out = m_multiByte->decode(std::string_view(reinterpret_cast<const char*>(p), n));
        if (kind == Kind::Text)
            out.resize(std::strlen(out.c_str()));
        return;
    }
    // Each byte writes 4 and keeps its own length, at most 3; short text through the stack
    // as above.
    char buffer[2048];
    const bool onStack = 3 * n + 4 <= sizeof buffer;
    if (!onStack)
        out.resize(3 * n + 4);
    char* const begin = onStack ? buffer : out.data();
    char* o = begin;
    for (std::size_t i = 0; i < n;) {
        if (m_asciiAsItself)
            copyAsciiRun(p, i, n, o);
        if (i == n)
            break;
        const unsigned char b = p[i++];
        if (b == 0 && kind == Kind::Text)
            break;
        std::memcpy(o, m_utf8[b].data(), 4);
        o += m_length[b];
    }
    if (onStack)
        out.assign(begin, static_cast<std::size_t>(o - begin));
    else
        out.resize(static_cast<std::size_t>(o - begin));
}

} // namespace ktv::jet
