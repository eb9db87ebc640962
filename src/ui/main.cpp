// Program entry of the wizard.
#include "app/AppPath.h"
#include "app/ReportError.h"
#include "platform/core/Error.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtMousePointer.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ktv::QtMessageBoxes boxes;
    ktv::QtMousePointer pointer;
    ktv::setMessageBoxes(&boxes);
    ktv::setMousePointer(&pointer);
    ktv::InitAppPath();
    try {
        QWidget window;
        window.setWindowTitle(QStringLiteral(" V4KT"));
        window.resize(370, 453);
        window.show();
        return app.exec();
    } catch (const ktv::Error& e) {
        ktv::ReportUnhandledError(e.number(), e.description());
    }
}
