// Private-profile (INI) strings: the reader and writer the settings routine relies on.
// Sections in square brackets, key=value lines, names compared without regard to case.
// The writer changes only the line of its key and keeps every other byte of the file.
#pragma once

#include <cstddef>
#include <string>

namespace ktv::profile {

// No settings file comes near this size; anything larger is not one, and is neither read
// into memory nor rewritten.
inline constexpr std::size_t kMaxFileSize = 1024 * 1024;

// Copies the value of key in section (or defaultText when the file, section or key is
// missing) and returns at most bufferSize - 1 characters of it, as a caller's buffer of
// bufferSize characters with its terminating NUL would hold. Values are trimmed of
// blanks and of one pair of surrounding quotes. Text that is not valid UTF-8 is read as
// Windows-1254. Throws ktv::Error when the file is there but is not a settings file (not a
// regular file, or larger than kMaxFileSize); it never waits on what stands there.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultText, std::size_t bufferSize,
                                    const std::string& fileName);

// Stores key=value in section, creating the file, the section and the key as needed,
// and replaces the file atomically. Throws ktv::Error when the file cannot be written, or
// when what stands there is not a settings file (it is then left as it is).
void WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName);

} // namespace ktv::profile
