// The reader's own text decoding against iconv, which decoded every value before: every
// UCS-2 unit, plain and compressed, every byte of one-byte code pages, a code page of
// several bytes a character, and where text and memo columns differ (zero characters, a
// last odd byte).
#include "data/jet/JetStoredText.h"
#include "data/jet/JetText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ktv::test {
namespace {

using jet::StoredText;
using Kind = StoredText::Kind;

std::string decoded(const StoredText& d, const std::string& bytes, Kind kind)
{
    std::string out = "left over from the row before";
    d.decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), kind, out);
    return out;
}

// What the reader made of a value through iconv: a memo as converted, a text value up to
// its first zero byte (libmdb's bound text ended there).
std::string throughIconv(const std::string& charset, const std::string& bytes, Kind kind)
{
    std::string out = jet::TextDecoder(charset).decode(bytes);
    return kind == Kind::Text ? out.substr(0, std::strlen(out.c_str())) : out;
}

TEST(JetStoredText, EveryUcs2UnitDecodesAsIconvDecodesIt)
{
    const StoredText d(false, "UCS-2LE");
    std::string plain;      // every unit but zero, in order
    std::string compressed; // the same units, compressed where the low byte allows
    std::string expanded;   // what the compressed form stands for
    compressed = "\xFF\xFE";
    bool oneByte = true;
    for (unsigned u = 1; u <= 0xFFFF; ++u) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        plain += lo;
        plain += hi;
        if (lo == 0)
            continue; // a zero low byte would read as a switch
        if ((hi == 0) != oneByte) {
            compressed += '\0';
            oneByte = hi == 0;
        }
        compressed += lo;
        if (!oneByte)
            compressed += hi;
        expanded += lo;
        expanded += hi;
    }
    for (const Kind kind : {Kind::Text, Kind::Memo}) {
        EXPECT_EQ(decoded(d, plain, kind), throughIconv("UCS-2LE", plain, kind));
        EXPECT_EQ(decoded(d, compressed, kind), throughIconv("UCS-2LE", expanded, kind));
    }
}

TEST(JetStoredText, EveryByteOfACodePageDecodesAsIconvDecodesIt)
{
    // One-byte code pages through the table, CP932 (up to two bytes a character) through iconv.
    for (const char* charset : {"CP1254", "CP1252", "CP1251", "CP1253", "CP932"}) {
        SCOPED_TRACE(charset);
        const StoredText d(true, charset);
        std::string bytes;
        for (int b = 1; b < 256; ++b)
            bytes += static_cast<char>(b);
        bytes += "\x82\xA0 Ş";
        for (const Kind kind : {Kind::Text, Kind::Memo})
            EXPECT_EQ(decoded(d, bytes, kind), throughIconv(charset, bytes, kind));
    }
}

TEST(JetStoredText, TextAndMemoColumnsDifferOnlyInOddBytes)
{
    const StoredText jet4(false, "UCS-2LE");
    const StoredText jet3(true, "CP1254");
    struct Row {
        const StoredText& decoder;
        std::string bytes;
        std::string text, memo;
    };
    const Row rows[] = {
        {jet4, std::string("A\0B\0\0\0C\0", 8), "AB", std::string("AB\0C", 4)}, // a zero character
        {jet4, std::string("A\0B", 3), "A", "A?"},                              // a last odd byte
        {jet4,
         std::string("\xFF\xFE"
                     "A\0\x1F\x01\x31",
                     7),
         "Ağ", "Ağ"},                                                      // odd byte of a two-byte run
        {jet4, std::string("\xFF\xFE", 2), "", ""},                        // compressed, empty
        {jet4, std::string("\xFF", 1), "", "?"},                           // one byte alone
        {jet3, std::string("I\xDD\0x", 4), "Iİ", std::string("Iİ\0x", 5)}, // a zero byte
        {jet3, std::string("\xFE\x81", 2), "ş?", "ş?"},                    // 0x81: no character
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(decoded(row.decoder, row.bytes, Kind::Text), row.text);
        EXPECT_EQ(decoded(row.decoder, row.bytes, Kind::Memo), row.memo);
    }
}

} // namespace
} // namespace ktv::test
