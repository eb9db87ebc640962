// PBKDF2 from OpenSSL's libcrypto; the iteration count is stored so it can grow later.
#include "data/PasswordHash.h"

#include "data/DaoErrors.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <vector>

namespace ktv::dao {

namespace {

constexpr int kIterations = 20000;
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;

std::string toHex(const unsigned char* p, std::size_t n)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[p[i] >> 4];
        out += digits[p[i] & 15];
    }
    return out;
}

bool fromHex(const std::string& hex, std::vector<unsigned char>& out)
{
    if (hex.size() % 2 != 0)
        return false;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = nibble(hex[i]);
        const int lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<unsigned char>(hi * 16 + lo));
    }
    return true;
}

std::vector<unsigned char> derive(const std::string& password, const std::vector<unsigned char>& salt,
                                  int iterations)
{
    std::vector<unsigned char> out(kHashBytes);
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(),
                          static_cast<int>(out.size()), out.data()) != 1)
        raiseText(err::EngineFailure, "Password hashing failed.");
    return out;
}

} // namespace

std::string hashPassword(const std::string& password)
{
    std::vector<unsigned char> salt(kSaltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1)
        raiseText(err::EngineFailure, "No random numbers for the password salt.");
    const auto hash = derive(password, salt, kIterations);
    return "pbkdf2-sha256$" + std::to_string(kIterations) + "$" + toHex(salt.data(), salt.size()) + "$" +
           toHex(hash.data(), hash.size());
}

bool verifyPassword(const std::string& password, const std::string& stored)
{
    const std::string prefix = "pbkdf2-sha256$";
    if (stored.rfind(prefix, 0) != 0)
        return false;
    const auto d1 = stored.find('$', prefix.size());
    const auto d2 = d1 == std::string::npos ? d1 : stored.find('$', d1 + 1);
    if (d2 == std::string::npos)
        return false;
    const std::string iterText = stored.substr(prefix.size(), d1 - prefix.size());
    if (iterText.empty() || iterText.size() > 7 ||
        iterText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int iterations = std::stoi(iterText);
    std::vector<unsigned char> salt;
    std::vector<unsigned char> expected;
    if (iterations < 1 || !fromHex(stored.substr(d1 + 1, d2 - d1 - 1), salt) ||
        !fromHex(stored.substr(d2 + 1), expected) || expected.size() != kHashBytes)
        return false;
    const auto actual = derive(password, salt, iterations);
    return CRYPTO_memcmp(actual.data(), expected.data(), kHashBytes) == 0;
}

} // namespace ktv::dao
