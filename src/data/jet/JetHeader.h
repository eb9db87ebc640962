// The header page of a Jet 3 / Jet 4 database file: signature, version, code page, page
// encoding key and the database password, read from the file's first bytes without libmdb.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ktv::jet {

class JetHeader {
public:
    enum class Version { Jet3, Jet4 };

    // Bytes a caller must read from the start of a file to parse its header.
    static constexpr std::size_t kSize = 0x18 + 128;

    // True when the bytes start with the Jet signature ("Standard Jet DB" at offset 4) or the
    // ACE one ("Standard ACE DB", Access 2007 and later), whatever version byte follows:
    // enough to tell a Jet file from any other format.
    static bool LooksLikeJet(std::string_view firstBytes);

    // The parsed header, or nothing when the bytes are not a Jet 3, Jet 4 or ACE header (ACE:
    // version bytes 2 to 6, laid out as Jet 4, so version() is Jet4).
    static std::optional<JetHeader> Parse(std::string_view firstBytes);

    Version version() const { return m_version; }
    // An ACE file with a non-zero key is encrypted as a whole (Office encryption, the only way
    // those files keep a database password); its pages cannot be read without decrypting.
    bool isEncryptedAce() const { return m_ace && m_encodingKey != 0; }
    std::uint16_t codePage() const { return m_codePage; }
    // Non-zero when every page after the header is RC4-encoded with this key.
    std::uint32_t encodingKey() const { return m_encodingKey; }
    bool hasPassword() const { return !m_password.empty(); }
    // The database password as UTF-8 (empty when the file is not protected).
    const std::string& password() const { return m_password; }

    // The header page of a new file (pageSize bytes): signature, version, code page, sort order,
    // creation date and password, masked as the engine masks them; pages are not encoded.
    // Nothing when the password does not fit (20 bytes of code-page text, 20 UCS-2 characters).
    static std::optional<std::string> Build(Version version, std::uint16_t codePage, double created,
                                            const std::string& passwordUtf8);

    // The iconv name of a Windows code page ("CP1254"); CP1252 when unknown or zero.
    static std::string CharsetOfCodePage(std::uint16_t codePage);

private:
    Version m_version = Version::Jet4;
    bool m_ace = false;
    std::uint16_t m_codePage = 0;
    std::uint32_t m_encodingKey = 0;
    std::string m_password;
};

} // namespace ktv::jet
