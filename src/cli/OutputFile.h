// Where the tool writes a report: standard output for "-", a device or a pipe written where
// it stands, or a regular file replaced whole. A symbolic link is followed and stays a link.
#pragma once

#include <string>
#include <string_view>

namespace ktv::cli {

struct OutputFile {
    enum class Kind { StandardOutput, InPlace, Replace };
    Kind kind = Kind::StandardOutput;
    std::string path; // the file written: the link's target for a symbolic link
};

// Checked before anything is written: throws UsageError for an empty name, a folder, a file
// that cannot be written or a missing or read-only folder. option names the option in the
// message ("--report").
OutputFile CheckOutputFile(const std::string& option, const std::string& given);

// Throws ktv::Error when the content cannot be written whole.
void WriteOutputFile(const OutputFile& file, std::string_view content);

// Writes to standard output; throws ktv::Error when the write fails (a full disk, a closed pipe).
void WriteStandardOutput(std::string_view content);

// Throws UsageError when the folder a new file would go into is missing or cannot be written.
void CheckFolderOf(const std::string& option, const std::string& given, const std::string& file);

} // namespace ktv::cli
