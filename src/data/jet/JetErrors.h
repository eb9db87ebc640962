// The engine errors of the Jet module: the engine's own numbers and texts (DaoErrors), plus
// the one for damage found while reading a table.
#pragma once

#include "platform/core/Error.h"

#include <string>

namespace ktv::jet {

// "Cannot open database ... may be corrupt": damage found while reading.
constexpr int kCorrupt = 3049;

Error fileNotFound(const std::string& path);
// The file is there but cannot be read (permissions, locks).
Error cannotOpen(const std::string& path);
Error notValidPassword();
Error tableNotFound(const std::string& name);
Error unrecognizedFormat(const std::string& path);
Error corrupt(const std::string& path, const std::string& detail);
// An encrypted ACE file: its pages cannot be read, so neither can its password be checked.
Error encryptedAce(const std::string& path);
Error readOnly();
Error noCurrentRecord();
Error itemNotFound();
Error objectClosed();
Error unknownColumnInCondition();

} // namespace ktv::jet
