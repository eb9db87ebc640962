// File listing for the file list control.
#include "platform/qt/FileListing.h"

#include <QCollator>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace ktv {

QStringList ListMatchingFiles(const QString& folder, const QString& pattern)
{
    QList<QRegularExpression> masks;
    for (const QString& raw : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString mask = raw.trimmed();
        if (mask.isEmpty())
            continue;
        // "*.*" meant every file on the original platform, names without a dot included.
        const QString effective = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
        masks.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(effective),
                                        QRegularExpression::CaseInsensitiveOption));
    }

    QStringList names;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort)) {
        for (const QRegularExpression& re : masks) {
            if (re.match(name).hasMatch()) {
                names.append(name);
                break;
            }
        }
    }
    SortFileNamesNaturally(names);
    return names;
}

void SortFileNamesNaturally(QStringList& names)
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Equal under the collator ("a.ktd", "A.ktd"): plain order keeps the result stable.
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

} // namespace ktv
