// Tahoma registration and fallback.
#include "ui/wizard/WizardFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace ktv
{

namespace
{

bool registerTahoma()
{
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return true;
    // The Wine font package ships a metric-compatible Tahoma.
    const QStringList candidates{QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
                                 QStringLiteral("/usr/share/fonts/truetype/wine/tahoma.ttf")};
    for (const QString& file : candidates)
        if (QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0)
            return QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
    return false;
}

} // namespace

QFont WizardFont()
{
    static const bool haveTahoma = registerTahoma();
    QFont font =
        haveTahoma ? QFont(QStringLiteral("Tahoma")) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!haveTahoma)
        font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

} // namespace ktv
