// The program's folder and folder creation.
#pragma once

#include <string>

namespace ktv {

// The folder that holds the executable (long form, as the platform reports it).
std::string ExecutableFolder();

// Sets AppPath once at start-up, and with it where the templates, the settings file and DATA
// lie (AppPathLayout.h). The program folder may be given instead of the executable's folder
// (the command-line tool's --root).
void InitAppPath();
void InitAppPath(const std::string& folder);

// The program folder without a trailing separator (the root folder stays "/").
const std::string& AppPath();

// Short (8.3) form of a path; this platform has none, so empty text.
std::string GetShortName(const std::string& path);

// Creates every missing level of the folder path; always true.
bool MakePath(const std::string& folderPath);

} // namespace ktv
