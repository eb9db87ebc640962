// Choosing and registering the wizard's font.
#include "ui/wizard/WizardFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace ktv {

namespace {

const QString kCondensed = QStringLiteral("DejaVu Sans Condensed");

bool registerCondensed()
{
    if (QFontDatabase::hasFamily(kCondensed))
        return true;
    // Debian's fonts-dejavu-extra; a font configuration that leaves the folder out still finds it.
    const QStringList candidates{QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf")};
    for (const QString& file : candidates)
        if (QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0)
            return QFontDatabase::hasFamily(kCondensed);
    return false;
}

QString chooseFamily()
{
    if (registerCondensed())
        return kCondensed;
    // Elsewhere a system Tahoma is the form's own font.
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return QStringLiteral("Tahoma");
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString WizardFontFamily()
{
    static const QString family = chooseFamily();
    return family;
}

QFont WizardFont()
{
    QFont font(WizardFontFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace ktv
