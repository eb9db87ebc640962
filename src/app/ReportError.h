// The error report: a fixed-layout box naming the program, the place, the number and
// the description. Without the continue argument the program ends after the box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ktv {

std::string ErrorReportText(std::int32_t number, const std::string& description, const std::string& place);

void ReportError(std::int32_t number, const std::string& description, const std::string& place,
                 std::optional<bool> continueAfter = std::nullopt);

// The box of an error nothing caught: titled with the program's name, then the program
// ends with a non-zero status after every exit hook (pending database writes) has run.
[[noreturn]] void ReportUnhandledError(std::int32_t number, const std::string& description);
std::string UnhandledErrorText(std::int32_t number, const std::string& description);

inline constexpr const char* kProgramName = "KTVedaz";

} // namespace ktv
