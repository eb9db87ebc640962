// File listing for the file list control.
#include "platform/qt/FileListing.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
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

namespace {

// The collation of the user's language; without one (the C locale of a bare system) the
// program's own language, Turkish, so ç, ğ, ı, ö, ş and ü sort with their letters.
QCollator makeCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Turkish, QLocale::Turkey);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// Runs of digits compare by their value, everything between them by the collation. Done
// here rather than by the collator's numeric mode, which not every collation backend has.
int naturalCompare(const QCollator& collator, const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = a[i].isDigit(), db = b[j].isDigit();
        qsizetype ei = i, ej = j;
        while (ei < a.size() && a[ei].isDigit() == da)
            ++ei;
        while (ej < b.size() && b[ej].isDigit() == db)
            ++ej;
        const QStringView pa = QStringView(a).mid(i, ei - i), pb = QStringView(b).mid(j, ej - j);
        int c = 0;
        if (da && db) {
            // Compare by value without converting: drop leading zeros, then length, then digits.
            QStringView va = pa, vb = pb;
            while (va.size() > 1 && va.front() == u'0')
                va = va.mid(1);
            while (vb.size() > 1 && vb.front() == u'0')
                vb = vb.mid(1);
            c = va.size() != vb.size() ? (va.size() < vb.size() ? -1 : 1) : va.compare(vb);
            if (c == 0 && pa.size() != pb.size())
                c = pa.size() > pb.size() ? -1 : 1; // "007" before "7"
        } else if (da != db) {
            c = da ? -1 : 1; // digits before letters
        } else {
            c = collator.compare(pa, pb);
        }
        if (c != 0)
            return c;
        i = ei;
        j = ej;
    }
    return (i < a.size()) - (j < b.size());
}

} // namespace

void SortFileNamesNaturally(QStringList& names)
{
    const QCollator collator = makeCollator();
    // Names equal under the collation ("a.ktd", "A.ktd"): plain order keeps the result stable.
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = naturalCompare(collator, a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

} // namespace ktv
