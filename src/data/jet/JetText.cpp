// Strict text encoding for the Jet writer (see JetText.h).
#include "data/jet/JetText.h"

#include <algorithm>
#include <cerrno>

namespace ktv::jet {

TextEncoder::TextEncoder(const std::string& charset) : m_cd(iconv_open(charset.c_str(), "UTF-8")) {}

TextEncoder::~TextEncoder()
{
    if (m_cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_cd);
}

std::optional<std::string> TextEncoder::encode(std::string_view utf8)
{
    if (m_cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // a fresh start after an earlier failure
    std::string out(utf8.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    if (iconv(m_cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

TextDecoder::TextDecoder(const std::string& charset)
    : m_cd(iconv_open("UTF-8", charset.c_str())), m_unit(charset.rfind("UCS-2", 0) == 0 ? 2 : 1)
{}

TextDecoder::~TextDecoder()
{
    if (m_cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_cd);
}

std::string TextDecoder::decode(std::string_view bytes)
{
    if (m_cd == reinterpret_cast<iconv_t>(-1))
        return std::string(bytes);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(bytes.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(m_cd, &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG || outLeft == 0)
            break;
        const std::size_t step = std::min(m_unit, inLeft); // undefined or cut off: one '?' per character
        in += step;
        inLeft -= step;
        *o++ = '?';
        --outLeft;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string expandUcs2(std::string_view stored)
{
    if (stored.size() < 2 || static_cast<unsigned char>(stored[0]) != 0xFF ||
        static_cast<unsigned char>(stored[1]) != 0xFE)
        return std::string(stored);
    std::string out;
    out.reserve(stored.size() * 2);
    bool oneByte = true;
    for (std::size_t i = 2; i < stored.size();) {
        if (stored[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            out.push_back(stored[i++]);
            out.push_back('\0');
        } else if (i + 1 < stored.size()) {
            out.append(stored.substr(i, 2));
            i += 2;
        } else {
            break; // an odd byte at the end
        }
    }
    return out;
}

std::optional<std::string> encodeText(const char* charset, std::string_view utf8)
{
    return TextEncoder(charset).encode(utf8);
}

std::optional<std::string> compressUcs2(std::string_view ucs2le)
{
    if (ucs2le.size() % 2 != 0)
        return std::nullopt;
    std::string out = "\xFF\xFE";
    bool oneByte = true;
    for (std::size_t i = 0; i < ucs2le.size(); i += 2) {
        const char lo = ucs2le[i];
        const char hi = ucs2le[i + 1];
        if (lo == 0)
            return std::nullopt; // a zero low byte would read as a switch
        const bool fitsOne = hi == 0;
        if (fitsOne != oneByte) {
            out.push_back('\0');
            oneByte = fitsOne;
        }
        out.push_back(lo);
        if (!oneByte)
            out.push_back(hi);
    }
    if (out.size() >= ucs2le.size())
        return std::nullopt;
    return out;
}

} // namespace ktv::jet
