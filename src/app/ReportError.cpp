#include "app/ReportError.h"

#include "platform/core/MessageBox.h"
#include "platform/core/MousePointer.h"
#include "platform/core/ProgramExit.h"

namespace ktv {

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
    MsgBox(ErrorReportText(number, description, place), MsgButtons::Ok, MsgIcon::Critical, "Genel HATA");
    mousePointer().setPointer(Pointer::Default);
    if (!continueAfter)
        endProgram(1);
}

std::string UnhandledErrorText(std::int32_t number, const std::string& description)
{
    return "Çalışma zamanı hatası '" + std::to_string(number) + "':\r\n\r\n" + description;
}

void ReportUnhandledError(std::int32_t number, const std::string& description)
{
    // Pending writes are committed before the box, so waiting on the box loses nothing.
    runExitHooks();
    mousePointer().setPointer(Pointer::Default);
    MsgBox(UnhandledErrorText(number, description), MsgButtons::Ok, MsgIcon::Critical, kProgramName);
    endProgram(1);
}

} // namespace ktv
