// The control gallery: every text box filter and casing, the etched line and the owner-drawn button
// on pages of one window, for trying them by hand. `--page N` opens page N (from 0), `--demo`
// fills the text boxes with samples.
#include "platform/core/MessageBox.h"
#include "platform/qt/QtMessageBoxes.h"
#include "ui/gallery/ButtonPage.h"
#include "ui/gallery/GalleryWindow.h"
#include "ui/gallery/Line3DPage.h"
#include "ui/gallery/TextBoxPage.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ktvedaz-gallery"));
    ktv::QtMessageBoxes boxes;
    ktv::setMessageBoxes(&boxes);

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption pageOption(QStringLiteral("page"), QStringLiteral("Açılacak sayfa (0'dan)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(pageOption);
    QCommandLineOption demoOption(QStringLiteral("demo"), QStringLiteral("Kutulara örnek metin yaz."));
    parser.addOption(demoOption);
    parser.process(app);

    ktv::GalleryWindow window;
    boxes.setOwner(&window);
    // One page per control family; further controls add their page here.
    auto* textBoxes = new ktv::TextBoxPage;
    window.addPage(QStringLiteral("Metin kutuları"), textBoxes);
    window.addPage(QStringLiteral("Line3D"), new ktv::Line3DPage);
    window.addPage(QStringLiteral("Düğmeler"), new ktv::ButtonPage);

    bool ok = false;
    const int page = parser.value(pageOption).toInt(&ok);
    if (!ok || page < 0 || page >= window.pageCount()) {
        qCritical("--page: 0 ile %d arasında bir sayı olmalı.", window.pageCount() - 1);
        return 2;
    }
    window.showPage(page);
    window.resize(900, 760);
    window.show();
    window.activateWindow();
    if (parser.isSet(demoOption))
        textBoxes->fillSamples();
    const int status = app.exec();
    boxes.setOwner(nullptr);
    ktv::setMessageBoxes(nullptr);
    return status;
}
