// The settings routine: the one way the program reads and writes its settings file.
#pragma once

#include "app/Value.h"

#include <optional>
#include <string>

namespace ktv {

// What a write that did not reach the file returns, after its report.
inline constexpr const char* kIniWriteFailed = "ERROR Write";

// Mode "GET" or "WRITE" (any letter case). Returns the value read, or empty text; argument
// errors come back as text ("Mode Hatası", "Secname Hatası", "Keyname Hatası",
// "ERROR KeyValue"). A file that cannot be read or written is reported through the error
// report with the place "System: ReadWriteIni" and the session goes on: a read then gives
// empty text, a write gives kIniWriteFailed. A settings file that cannot be read is
// reported once for all its keys, until a read succeeds again.
std::string ReadWriteIni(const std::string& mode, const std::string& fileName, const std::string& section,
                         const std::string& key, const std::optional<Value>& value = std::nullopt);

// The settings file of this program: Vedaz.ini in the program folder, or in the per-user
// settings folder when the program is installed (AppPathLayout.h).
std::string SettingsFilePath();

} // namespace ktv
