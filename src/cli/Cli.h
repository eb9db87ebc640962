// ktvedaz-cli: the conversion without a window, and the tools around it (sample sources,
// passwords, table dumps).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ktv::cli {

// Runs the tool; returns the exit status (0 success, 1 failure, 2 usage error).
int Main(const std::vector<std::string>& args, const std::string& executableFolder);

int Convert(const std::vector<std::string>& args, const std::string& executableFolder);
int Protect(const std::vector<std::string>& args);
int Sample(const std::vector<std::string>& args);
int Dump(const std::vector<std::string>& args);

// Each command's help: its usage lines, a blank line, then what it does and its options.
extern const char* const kConvertHelp;
extern const char* const kSampleHelp;
extern const char* const kProtectHelp;
extern const char* const kDumpHelp;

// The file format of a sample source: this program's own, or a real Jet 3 / Jet 4 file.
enum class SampleFormat { Own, Jet3, Jet4 };

// Told the table being written and how many of its records are written so far.
using SampleProgress = std::function<void(const std::string& table, long done, long total)>;

// A sample source: N records in each source table, realistic Turkish data, deterministic
// for the seed (the same rows in every format), protected with the password.
void WriteSampleSource(const std::string& path, const std::string& type, long records, unsigned seed,
                       const std::string& password, SampleFormat format = SampleFormat::Own,
                       const SampleProgress& progress = {});

// RFC 4180 field quoting.
std::string CsvField(const std::string& value);

} // namespace ktv::cli
