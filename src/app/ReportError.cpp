#include "app/ReportError.h"

#include "platform/core/MessageBox.h"
#include "platform/core/MousePointer.h"
#include "platform/core/ProgramExit.h"

#include <utility>

namespace ktv {

namespace {

// The error last shown by ReportError with the continue argument. When the same error then
// ends the program (a caller that could not go on without the failed step), its box is not
// shown a second time.
std::pair<std::int32_t, std::string>& lastContinued()
{
    static std::pair<std::int32_t, std::string> last;
    return last;
}

} // namespace

std::string ErrorReportText(std::int32_t number, const std::string& description, const std::string& place)
{
    const std::string crlf = "\r\n";
    return " HATA OLUSAN " + crlf + crlf + " Program Adi    : " + kProgramName + crlf +
           " Prosedur Adi   : " + place + crlf + " Hata Kodu      : " + std::to_string(number) + crlf +
           " Hata Aciklamasi: " + crlf + description + crlf;
}

void ReportError(std::int32_t number, const std::string& description, const std::string& place,
                 std::optional<bool> continueAfter)
{
    // Pending writes are committed before the box: the write lock is not held while the
    // operator reads it, and a kill or power loss meanwhile loses nothing already stored.
    const std::string unsaved = runExitHooks();
    std::string text = ErrorReportText(number, description, place);
    if (!unsaved.empty())
        text += unsaved;
    MsgBox(text, MsgButtons::Ok, MsgIcon::Critical, "Genel HATA");
    mousePointer().setPointer(Pointer::Default);
    if (!continueAfter)
        endProgram(1);
    lastContinued() = {number, description};
}

std::string UnhandledErrorText(std::int32_t number, const std::string& description)
{
    return "Çalışma zamanı hatası '" + std::to_string(number) + "':\r\n\r\n" + description;
}

void ReportUnhandledError(std::int32_t number, const std::string& description)
{
    // Pending writes are committed before the box, so waiting on the box loses nothing.
    const std::string unsaved = runExitHooks();
    mousePointer().setPointer(Pointer::Default);
    const bool alreadyShown = lastContinued() == std::pair<std::int32_t, std::string>(number, description);
    lastContinued() = {};
    if (!alreadyShown || !unsaved.empty())
        MsgBox(UnhandledErrorText(number, description) + (unsaved.empty() ? "" : "\r\n" + unsaved),
               MsgButtons::Ok, MsgIcon::Critical, kProgramName);
    endProgram(1);
}

} // namespace ktv
