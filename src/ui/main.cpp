// Program entry of the wizard: the program folder, the platform services, then the wizard
// form until it is unloaded.
#include "app/AppPath.h"
#include "app/AppPathDesktopEntry.h"
#include "app/AppPathLayout.h"
#include "app/ReportError.h"
#include "platform/core/Error.h"
#include "platform/core/ProgramExit.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtMousePointer.h"
#include "ui/wizard/Frm_Vedaz.h"

#include <KtvVersion.h>

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    // Answered before Qt starts, so it works without a display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            const std::string text = ktvVersionText("ktvedaz");
            const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
            return written ? 0 : 1;
        }
    // The conversion lets the window process its events before every record; Qt's own
    // event dispatcher does that several times faster than the GLib one, and the program
    // needs nothing of GLib's main loop.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ktv::kProgramName));
    ktv::QtMessageBoxes boxes;
    ktv::QtMousePointer pointer;
    ktv::setMessageBoxes(&boxes);
    ktv::setMousePointer(&pointer);
    ktv::InitAppPath();
    // A program folder that was unpacked or moved gets its desktop entry pointed at it.
    if (ktv::ProgramLayout() != ktv::Layout::Installed)
        ktv::PointDesktopEntryAt(ktv::ExecutableFolder());
    int status = 0;
    try {
        auto form = std::make_unique<ktv::Frm_Vedaz>();
        boxes.setOwner(form.get());
        form->show();
        // Unloading the form closes the last window, which ends the event loop.
        status = app.exec();
        boxes.setOwner(nullptr);
        form.reset(); // releases the source handle and the company databases
    } catch (const ktv::Error& e) {
        ktv::ReportUnhandledError(e.number(), e.description());
    } catch (const std::exception& e) {
        ktv::ReportUnhandledError(ktv::runtime_err::InternalError, e.what());
    }
    // Writes still pending at the end are saved now; one that cannot be saved makes the exit a
    // failure instead of a silent success.
    const std::string unsaved = ktv::runExitHooks();
    if (!unsaved.empty()) {
        std::fprintf(stderr, "%s", unsaved.c_str());
        if (status == 0)
            status = 1;
    }
    return status;
}
