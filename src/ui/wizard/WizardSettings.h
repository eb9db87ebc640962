// The wizard's part of the settings file: the folder, the file name and the source type of
// page 1 in section "CEVRIM", and the server the operator may name there.
#pragma once

#include <optional>
#include <string>

namespace ktv {

struct WizardModel;

// Folder and file as the form's load restores them ("." stands for empty text). Does nothing
// when the file does not exist.
void readSourceSettings(const std::string& settingsFile, WizardModel& model);

// The server that keeps the company data: key SUNUCU, a libpq connection string, read when
// the form loads and never written. Empty (the DATA folder) when the key, the file or the
// value is missing, or the value is ".".
std::string readServerSetting(const std::string& settingsFile);

// The stored type position, rounded; nothing when the file does not exist.
std::optional<double> readStoredType(const std::string& settingsFile);

// Marks the settings saved and writes the three keys. An empty folder or file name is first
// set to ".", which is a change of page 1 the pages show and the flag records. A write that
// fails has been reported by the settings routine: the keys after it are not tried (one
// report is enough) and the settings stay unsaved, so Close offers to save them again.
void writeSourceSettings(const std::string& settingsFile, WizardModel& model);

} // namespace ktv
