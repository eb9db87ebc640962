// The database password is kept as a salted PBKDF2-HMAC-SHA256 hash in the metadata table,
// never as the password itself: "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>".
#pragma once

#include <string>

namespace ktv::dao {

std::string hashPassword(const std::string& password);
// False for a wrong password and for a stored text that is not of the form above.
bool verifyPassword(const std::string& password, const std::string& stored);

} // namespace ktv::dao
