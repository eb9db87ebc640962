// Reads the masked header of a Jet file: the bytes from 0x18 on are hidden under a fixed
// RC4 keystream, and in Jet 4 the password is masked once more with the creation date.
#include "data/jet/JetHeader.h"

#include "data/jet/JetText.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iconv.h>
#include <limits>

namespace ktv::jet {

namespace {

constexpr std::size_t kMaskStart = 0x18;
constexpr std::size_t kCodePageAt = 0x3C;
constexpr std::size_t kEncodingKeyAt = 0x3E;
constexpr std::size_t kPasswordAt = 0x42;
constexpr std::size_t kCreationDateAt = 0x72;
constexpr char kSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";

std::uint16_t u16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The RC4 keystream of the fixed header key; RC4 is a dozen lines, no library needed.
void xorWithHeaderKeystream(unsigned char* data, std::size_t n)
{
    static constexpr std::array<unsigned char, 4> key{0xC7, 0xDA, 0x39, 0x6B};
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (unsigned i = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    unsigned a = 0;
    unsigned b = 0;
    for (std::size_t k = 0; k < n; ++k) {
        a = (a + 1) & 0xFF;
        b = (b + s[a]) & 0xFF;
        std::swap(s[a], s[b]);
        data[k] ^= s[(s[a] + s[b]) & 0xFF];
    }
}

// The creation date as the 32-bit whole number whose bytes mask the Jet 4 password:
// truncated toward zero, saturated at the int32 range, NaN as 0.
std::int32_t dateMask(double date)
{
    if (std::isnan(date))
        return 0;
    if (date >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (date <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(date);
}

// Converts bytes of the given charset to UTF-8; invalid sequences become '?'.
std::string toUtf8(const char* charset, std::string_view bytes)
{
    iconv_t cd = iconv_open("UTF-8", charset);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(bytes);
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || outLeft == 0)
            break;
        const std::size_t skip = std::strcmp(charset, "UCS-2LE") == 0 ? 2 : 1;
        const std::size_t step = std::min(skip, inLeft);
        in += step;
        inLeft -= step;
        *o++ = '?';
        --outLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

bool JetHeader::LooksLikeJet(std::string_view firstBytes)
{
    if (firstBytes.size() < 20)
        return false;
    const auto signature = firstBytes.substr(4, sizeof kSignature);
    return signature == std::string_view(kSignature, sizeof kSignature) ||
           signature == std::string_view(kAceSignature, sizeof kAceSignature);
}

std::optional<JetHeader> JetHeader::Parse(std::string_view firstBytes)
{
    if (!LooksLikeJet(firstBytes) || firstBytes.size() < kSize)
        return std::nullopt;
    JetHeader h;
    const auto versionByte = static_cast<unsigned char>(firstBytes[0x14]);
    const bool aceSignature =
        firstBytes.substr(4, sizeof kAceSignature) == std::string_view(kAceSignature, sizeof kAceSignature);
    if (versionByte == 0 && !aceSignature) {
        h.m_version = Version::Jet3;
    } else if (versionByte == 1 && !aceSignature) {
        h.m_version = Version::Jet4;
    } else if (versionByte >= 2 && versionByte <= 6 && aceSignature) {
        h.m_version = Version::Jet4; // Access 2007 to 2019: the Jet 4 layout
        h.m_ace = true;
    } else {
        return std::nullopt;
    }

    std::array<unsigned char, kSize> b{};
    std::memcpy(b.data(), firstBytes.data(), kSize);
    const std::size_t masked = h.m_version == Version::Jet3 ? 126 : 128;
    xorWithHeaderKeystream(b.data() + kMaskStart, masked);

    h.m_codePage = u16(&b[kCodePageAt]);
    h.m_encodingKey = u32(&b[kEncodingKeyAt]);

    if (h.m_version == Version::Jet3) {
        std::string raw(reinterpret_cast<const char*>(&b[kPasswordAt]), 20);
        raw.resize(std::strlen(raw.c_str()));
        h.m_password = toUtf8(CharsetOfCodePage(h.m_codePage).c_str(), raw);
    } else {
        double created = 0;
        std::memcpy(&created, &b[kCreationDateAt], sizeof created);
        const auto mask = static_cast<std::uint32_t>(dateMask(created));
        std::string raw;
        for (std::size_t i = 0; i < 40; i += 2) {
            const auto lo = static_cast<unsigned char>(b[kPasswordAt + i] ^ ((mask >> (8 * (i % 4))) & 0xFF));
            const auto hi =
                static_cast<unsigned char>(b[kPasswordAt + i + 1] ^ ((mask >> (8 * ((i + 1) % 4))) & 0xFF));
            if (lo == 0 && hi == 0)
                break;
            raw.push_back(static_cast<char>(lo));
            raw.push_back(static_cast<char>(hi));
        }
        h.m_password = toUtf8("UCS-2LE", raw);
    }
    return h;
}

std::optional<std::string> JetHeader::Build(Version version, std::uint16_t codePage, double created,
                                            const std::string& passwordUtf8)
{
    const bool jet3 = version == Version::Jet3;
    std::string page(jet3 ? 2048 : 4096, '\0');
    auto* b = reinterpret_cast<unsigned char*>(page.data());
    b[1] = 0x01;
    std::memcpy(b + 4, kSignature, sizeof kSignature);
    b[0x14] = jet3 ? 0 : 1;
    const auto put16 = [&](std::size_t at, unsigned v) {
        b[at] = static_cast<unsigned char>(v);
        b[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    put16(jet3 ? 0x3A : 0x6E, 0x409); // the general sort order
    put16(kCodePageAt, codePage);
    if (jet3) {
        const auto raw = encodeText(CharsetOfCodePage(codePage).c_str(), passwordUtf8);
        if (!raw || raw->size() > 20)
            return std::nullopt;
        std::memcpy(b + kPasswordAt, raw->data(), raw->size());
    } else {
        const auto raw = encodeText("UCS-2LE", passwordUtf8);
        if (!raw || raw->size() > 40)
            return std::nullopt;
        std::memcpy(b + kPasswordAt, raw->data(), raw->size());
        std::memcpy(b + kCreationDateAt, &created, sizeof created);
        const auto mask = static_cast<std::uint32_t>(dateMask(created));
        for (std::size_t i = 0; i < 40; ++i)
            b[kPasswordAt + i] ^= static_cast<unsigned char>((mask >> (8 * (i % 4))) & 0xFF);
    }
    xorWithHeaderKeystream(b + kMaskStart, jet3 ? 126 : 128);
    return page;
}

std::string JetHeader::CharsetOfCodePage(std::uint16_t codePage)
{
    if (codePage == 0)
        return "CP1252";
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "CP1252";
    iconv_close(cd);
    return name;
}

} // namespace ktv::jet
