// Turkish case mapping: a fixed replacement before the general conversion (so "i"/"I" never go the
// English way), the general per-character conversion, then fixed replacements for the letters the
// general conversion might leave alone.
#include "ui/controls/textbox/TurkishCase.h"

#include <QChar>

namespace ktv {

namespace {

// The general conversion, one code point at a time with the simple (one-to-one) mapping, so the
// number of characters never changes (unlike QString::toUpper, which turns "ß" into "SS").
template <typename Map> void convertEach(QString& text, Map map)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toStdU32String()) {
        const char32_t m = map(c);
        if (QChar::requiresSurrogates(m)) {
            out.append(QChar(QChar::highSurrogate(m)));
            out.append(QChar(QChar::lowSurrogate(m)));
        } else {
            out.append(QChar(char16_t(m)));
        }
    }
    text = out;
}

void replaceAll(QString& text, char16_t from, char16_t to)
{
    text.replace(QChar(from), QChar(to), Qt::CaseSensitive);
}

} // namespace

QString TurkishUpper(QString& text)
{
    replaceAll(text, u'i', u'\u0130');
    convertEach(text, [](char32_t c) { return QChar::toUpper(c); });
    replaceAll(text, u'ç', u'Ç');
    replaceAll(text, u'ğ', u'Ğ');
    replaceAll(text, u'\u0131', u'I');
    replaceAll(text, u'ö', u'Ö');
    replaceAll(text, u'ş', u'Ş');
    replaceAll(text, u'ü', u'Ü');
    return text;
}

QString TurkishLower(QString& text)
{
    replaceAll(text, u'I', u'\u0131');
    convertEach(text, [](char32_t c) { return QChar::toLower(c); });
    replaceAll(text, u'Ç', u'ç');
    replaceAll(text, u'Ğ', u'ğ');
    replaceAll(text, u'\u0130', u'i');
    replaceAll(text, u'Ö', u'ö');
    replaceAll(text, u'Ş', u'ş');
    replaceAll(text, u'Ü', u'ü');
    return text;
}

} // namespace ktv
