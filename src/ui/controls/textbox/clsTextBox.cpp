// The text box behaviour: focus, keys, trimming, character filters, fixed decimals, masks and casing.
// Texts are handled as code points so that caret positions count the characters the user sees.
#include "ui/controls/textbox/clsTextBox.h"

#include "platform/qt/SystemBeep.h"
#include "ui/controls/textbox/TabKeySender.h"
#include "ui/controls/textbox/TurkishCase.h"

#include <algorithm>
#include <string>

namespace ktv {

namespace {

// Only ASCII digits and letters count; every other character (Turkish letters included) is a symbol.
bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool isLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }

std::u32string chars(const QString& text) { return text.toStdU32String(); }
QString fromChars(const std::u32string& text) { return QString::fromStdU32String(text); }
int length(const QString& text) { return int(text.toStdU32String().size()); }

// The filters' final caret correction: outside the text means the end of the text.
int clampToEnd(int position, size_t textLength)
{
    const int len = int(textLength);
    return (position > len || position < 0) ? len : position;
}

// The re-entry guard of the text-rewriting operations: set for the operation's lifetime.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
};

void upperAt(std::u32string& text, size_t index)
{
    QString one = fromChars(text.substr(index, 1));
    TurkishUpper(one);
    const std::u32string converted = chars(one);
    if (converted.size() == 1)
        text[index] = converted[0];
}

// Upper-cases the character after every occurrence of `marker`, left to right.
void upperAfter(std::u32string& text, const std::u32string& marker)
{
    for (size_t at = text.find(marker); at != std::u32string::npos; at = text.find(marker, at + 1)) {
        if (at + marker.size() < text.size())
            upperAt(text, at + marker.size());
    }
}

} // namespace

clsTextBox::clsTextBox() : m_sendTab(SendTabKey) {}

void clsTextBox::GotFocus(TextBox& TextObj)
{
    const QString text = TextObj.Text();
    TextObj.setSelStart(0);
    TextObj.setSelLength(length(text));
    m_savedText = text;
    if (m_allowColorChange) {
        TextObj.setBackColor(m_backColorGotFocus);
        TextObj.setForeColor(m_foreColorGotFocus);
    }
}

void clsTextBox::LostFocus(TextBox& TextObj)
{
    m_savedText.clear();
    if (m_allowColorChange) {
        TextObj.setBackColor(m_backColorNormal);
        TextObj.setForeColor(m_foreColorNormal);
    }
}

void clsTextBox::KeyUp(TextBox& TextObj, int16_t& KeyCode)
{
    switch (KeyCode) {
    case vbKeyReturn:
    case vbKeyDown:
        KeyCode = 0;
        if (m_sendTab)
            m_sendTab(false);
        break;
    case vbKeyUp:
        KeyCode = 0;
        if (m_sendTab)
            m_sendTab(true);
        break;
    case vbKeyEscape:
        if (TextObj.Text() != m_savedText) {
            TextObj.setText(m_savedText);
            // The box's change handler has run meanwhile and may have reshaped the text (a
            // negative filter puts its "-" back): the caret goes behind the text as it stands.
            TextObj.setSelStart(length(TextObj.Text()));
        }
        KeyCode = 0;
        break;
    default: break;
    }
}

void clsTextBox::KeyPress(TextBox&, int16_t& KeyAscii)
{
    // Enter would otherwise beep in a single-line box.
    if (KeyAscii == vbKeyReturn)
        KeyAscii = 0;
}

QString clsTextBox::mTrimString(QString sString)
{
    qsizetype first = 0;
    qsizetype last = sString.size();
    while (first < last && sString.at(first) == u' ')
        ++first;
    while (last > first && sString.at(last - 1) == u' ')
        --last;
    sString = sString.mid(first, last - first);
    if (sString.size() < 2)
        return sString;
    // The last character is never a space here, so the walk can stop before it.
    qsizetype i = 0;
    while (i < sString.size() - 1) {
        if (sString.at(i) == u' ' && sString.at(i + 1) == u' ')
            sString.remove(i + 1, 1);
        else
            ++i;
    }
    return sString;
}

void clsTextBox::filterChars(TextBox& TextObj, const std::function<bool(char32_t c, size_t index)>& keeps)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    int position = TextObj.SelStart();
    const std::u32string text = chars(TextObj.Text());
    std::u32string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (keeps(text[i], i))
            result.push_back(text[i]);
        else
            --position;
    }
    position = clampToEnd(position, result.size());
    TextObj.setText(fromChars(result));
    TextObj.setSelStart(position);
}

void clsTextBox::Integer_Pos(TextBox& TextObj)
{
    filterChars(TextObj, [](char32_t c, size_t) { return isDigit(c); });
}

void clsTextBox::Integer_All(TextBox& TextObj)
{
    filterChars(TextObj, [](char32_t c, size_t i) { return isDigit(c) || (c == U'-' && i == 0); });
}

void clsTextBox::Numeric_Pos(TextBox& TextObj)
{
    bool seenPoint = false;
    filterChars(TextObj, [&seenPoint](char32_t c, size_t) {
        if (c == U'.' && !seenPoint)
            return seenPoint = true;
        return isDigit(c);
    });
}

void clsTextBox::Numeric_All(TextBox& TextObj)
{
    bool seenPoint = false;
    filterChars(TextObj, [&seenPoint](char32_t c, size_t i) {
        if (c == U'.' && !seenPoint)
            return seenPoint = true;
        return isDigit(c) || (c == U'-' && i == 0);
    });
}

void clsTextBox::Integer_Neg(TextBox& TextObj) { filterNegative(TextObj, false); }

void clsTextBox::Numeric_Neg(TextBox& TextObj) { filterNegative(TextObj, true); }

void clsTextBox::filterNegative(TextBox& TextObj, bool allowPoint)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    int position = TextObj.SelStart();
    const std::u32string text = chars(TextObj.Text());
    std::u32string result = U"-";
    size_t from = 0;
    if (!text.empty() && text[0] == U'-')
        from = 1; // the sign the user sees stays; the caret needs no shift
    else
        ++position; // for the sign put in front
    // A one-character text goes through the filter like any other, so "a" becomes "-" and not "-a".
    bool seenPoint = false;
    for (size_t i = from; i < text.size(); ++i) {
        const char32_t c = text[i];
        const bool keep = isDigit(c) || (allowPoint && c == U'.' && !seenPoint);
        if (c == U'.' && keep)
            seenPoint = true;
        if (keep)
            result.push_back(c);
        else
            --position;
    }
    position = clampToEnd(position, result.size());
    TextObj.setText(fromChars(result));
    TextObj.setSelStart(position);
}

void clsTextBox::Numeric_WithSymbols(TextBox& TextObj)
{
    filterChars(TextObj, [](char32_t c, size_t) { return !isLetter(c); });
}

void clsTextBox::Alpha_All(TextBox& TextObj)
{
    filterChars(TextObj, [this](char32_t c, size_t) {
        if (m_removeExtraSpaces && m_prevAlphaAll == U' ' && c == U' ')
            return false;
        m_prevAlphaAll = c;
        return !isDigit(c);
    });
}

void clsTextBox::AlphaNumeric_NoSymbols(TextBox& TextObj)
{
    filterChars(TextObj, [](char32_t c, size_t) { return isLetter(c) || isDigit(c); });
}

void clsTextBox::Alpha_NoSymbols(TextBox& TextObj)
{
    filterChars(TextObj, [](char32_t c, size_t) { return isLetter(c); });
}

void clsTextBox::Numeric_FixedDec(TextBox& TextObj, int16_t DecPlaces, bool ShowTrailingZero,
                                  bool AllowNegitive)
{
    const QString read = TextObj.Text();
    if (read.isEmpty())
        return;
    int position = TextObj.SelStart();
    const std::u32string text = chars(read);

    std::u32string number;
    for (const char32_t c : text) {
        if (isDigit(c) || (c == U'.' && DecPlaces >= 1))
            number.push_back(c);
    }
    if (AllowNegitive && text.front() == U'-')
        number.insert(number.begin(), U'-');
    if (std::count(number.begin(), number.end(), U'.') > 1)
        number.erase(number.rfind(U'.'), 1);

    const size_t point = number.find(U'.');
    std::u32string integerPart = number.substr(0, point);
    std::u32string decimalPart;
    if (point != std::u32string::npos && DecPlaces >= 1) {
        decimalPart = U"." + number.substr(point + 1, size_t(DecPlaces));
        if (ShowTrailingZero)
            decimalPart.resize(size_t(DecPlaces) + 1, U'0');
    }

    // A positive integer part is written as its value, which only drops leading zeros. Doing it on
    // the digits keeps integer parts of any length exact, where a conversion through a floating-point
    // number would lose digits beyond the fifteenth.
    const bool positive = !integerPart.empty() && integerPart.front() != U'-' &&
                          integerPart.find_first_not_of(U'0') != std::u32string::npos;
    if (positive) {
        const size_t zeros = integerPart.find_first_not_of(U'0');
        integerPart.erase(0, zeros);
        position -= int(zeros);
    }

    const std::u32string result = integerPart + decimalPart;
    // The caret is not corrected for dropped characters, so it may point past the end or, after
    // leading zeros went, before the start; a caret outside the text is put at its nearest end.
    position = std::clamp(position, 0, int(result.size()));
    TextObj.setText(fromChars(result));
    TextObj.setSelStart(position);
}

void clsTextBox::MaskedText(TextBox& TextObj, QString MyProfile)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    int position = TextObj.SelStart();
    const uint32_t normalColor = m_allowColorChange ? m_foreColorGotFocus : m_foreColorNormal;
    const std::u32string mask = chars(MyProfile);
    std::u32string text = chars(TextObj.Text());

    if (text.size() > mask.size()) {
        text.resize(mask.size());
        position = int(text.size());
        TextObj.setText(fromChars(text));
        TextObj.setSelStart(position);
        Beep();
    }

    std::u32string result;
    size_t t = 0;
    size_t m = 0;
    while (t < text.size()) {
        if (m >= mask.size()) {
            // Literals put in pushed the text past the mask: the rest is cut off, as for a text
            // that is too long.
            Beep();
            break;
        }
        const char32_t want = mask[m];
        const char32_t c = text[t];
        if (want == U'#' || want == U'@') {
            if (isDigit(c) != (want == U'#')) {
                // The misfit stays visible, in red, for the user to correct.
                TextObj.setForeColor(MaskErrorColor);
                Beep();
                return;
            }
            result.push_back(c);
            ++t;
            ++m;
            TextObj.setForeColor(normalColor);
        } else if (c == want) {
            result.push_back(c);
            ++t;
            ++m;
            TextObj.setForeColor(normalColor);
        } else {
            // The literal is typed for the user; the same character meets the next mask position.
            result.push_back(want);
            ++m;
            ++position;
        }
    }
    position = std::min(position, int(result.size()));
    TextObj.setText(fromChars(result));
    TextObj.setSelStart(position);
}

void clsTextBox::caseConvert(TextBox& TextObj, char32_t& previous, bool upper)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    int position = TextObj.SelStart();
    QString newText;
    if (m_removeExtraSpaces) {
        std::u32string kept;
        for (const char32_t c : chars(TextObj.Text())) {
            if (c == U' ' && previous == U' ') {
                --position;
                continue;
            }
            kept.push_back(c);
            previous = c;
        }
        position = clampToEnd(position, kept.size());
        newText = fromChars(kept);
    } else {
        newText = TextObj.Text();
    }
    if (upper)
        TurkishUpper(newText);
    else
        TurkishLower(newText);
    TextObj.setText(newText);
    TextObj.setSelStart(position);
}

void clsTextBox::CaseUpper(TextBox& TextObj) { caseConvert(TextObj, m_prevCaseUpper, true); }

void clsTextBox::CaseLower(TextBox& TextObj) { caseConvert(TextObj, m_prevCaseLower, false); }

void clsTextBox::CaseProper(TextBox& TextObj)
{
    if (m_busy)
        return;
    BusyScope busy(m_busy);
    const int position = TextObj.SelStart();
    const QString newText = ProperCaseString(TextObj.Text());
    TextObj.setText(newText);
    TextObj.setSelStart(std::min(position, length(newText)));
}

QString clsTextBox::ProperCaseString(QString tString) const
{
    if (tString.isEmpty())
        return tString;
    std::u32string text = chars(tString);
    QString first = fromChars(text.substr(0, 1));
    QString rest = fromChars(text.substr(1));
    text = chars(TurkishUpper(first) + TurkishLower(rest));

    if (m_removeExtraSpaces) {
        for (size_t at = text.find(U"  "); at != std::u32string::npos; at = text.find(U"  ", at))
            text.erase(at + 1, 1);
    }
    for (const char32_t* separator : {U" ", U".", U"/", U"&"})
        upperAfter(text, separator);
    for (const char32_t* prefix : {U"Mc", U"O'"})
        upperAfter(text, prefix);
    upperAfter(text, U"-");
    return fromChars(text);
}

} // namespace ktv
