// Giving an existing database file a database password (or a new one). A plain SQLite
// file with the right tables becomes a file of this program's format on the way.
#pragma once

#include <string>

namespace ktv::dao {

// Throws ktv::Error when the file is missing, not an SQLite database, or cannot be written.
// An empty password removes the protection.
void SetDatabasePassword(const std::string& path, const std::string& password);

} // namespace ktv::dao
