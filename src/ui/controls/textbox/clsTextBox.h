// The common data-entry behaviour of single-line text boxes: select-all and colours on focus, Enter and
// arrows move between fields, Esc undoes, and filters, masks and casing run after every change.
// A host keeps one instance (it may serve several boxes) and calls it from the box's events.
#pragma once

#include "platform/qt/SystemColors.h"
#include "ui/controls/textbox/TextBox.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace ktv {

class clsTextBox {
public:
    // Virtual-key codes KeyUp looks at.
    static constexpr int16_t vbKeyReturn = 13;
    static constexpr int16_t vbKeyEscape = 27;
    static constexpr int16_t vbKeyUp = 38;
    static constexpr int16_t vbKeyDown = 40;

    clsTextBox();

    // Properties (get/set pairs). Setting only stores: colours take effect at the next focus change.
    uint32_t pBackColor_Normal() const { return m_backColorNormal; }
    void pBackColor_Normal(uint32_t value) { m_backColorNormal = value; }
    uint32_t pBackColor_GotFocus() const { return m_backColorGotFocus; }
    void pBackColor_GotFocus(uint32_t value) { m_backColorGotFocus = value; }
    uint32_t pForeColor_Normal() const { return m_foreColorNormal; }
    void pForeColor_Normal(uint32_t value) { m_foreColorNormal = value; }
    uint32_t pForeColor_GotFocus() const { return m_foreColorGotFocus; }
    void pForeColor_GotFocus(uint32_t value) { m_foreColorGotFocus = value; }
    bool pAllowColorChange() const { return m_allowColorChange; }
    void pAllowColorChange(bool value) { m_allowColorChange = value; }
    bool pRemoveExtraSpaces() const { return m_removeExtraSpaces; }
    void pRemoveExtraSpaces(bool value) { m_removeExtraSpaces = value; }

    // Focus and key events.
    void GotFocus(TextBox& TextObj);
    void LostFocus(TextBox& TextObj);
    void KeyUp(TextBox& TextObj, int16_t& KeyCode);
    void KeyPress(TextBox& TextObj, int16_t& KeyAscii);

    // Leading and trailing spaces removed, inner runs of spaces shrunk to one.
    static QString mTrimString(QString sString);

    // Character filters, for the box's change event.
    void Integer_Pos(TextBox& TextObj);
    void Integer_Neg(TextBox& TextObj);
    void Integer_All(TextBox& TextObj);
    void Numeric_Pos(TextBox& TextObj);
    void Numeric_Neg(TextBox& TextObj);
    void Numeric_All(TextBox& TextObj);
    void Numeric_WithSymbols(TextBox& TextObj);
    void Alpha_All(TextBox& TextObj);
    void AlphaNumeric_NoSymbols(TextBox& TextObj);
    void Alpha_NoSymbols(TextBox& TextObj);

    // A number with at most DecPlaces decimals.
    void Numeric_FixedDec(TextBox& TextObj, int16_t DecPlaces = 0, bool ShowTrailingZero = false,
                          bool AllowNegitive = false);
    // Text shaped by a mask: "#" a digit, "@" anything but a digit, any other character a literal.
    void MaskedText(TextBox& TextObj, QString MyProfile);

    // Casing.
    void CaseUpper(TextBox& TextObj);
    void CaseLower(TextBox& TextObj);
    void CaseProper(TextBox& TextObj);
    QString ProperCaseString(QString tString) const;

    // Whether a text-rewriting operation is running (its own write of the text re-enters the change event).
    bool busy() const { return m_busy; }

    // What KeyUp does to move the focus: by default one Tab (or Shift+Tab) to the focused widget.
    using TabSender = std::function<void(bool backward)>;
    void setTabSender(TabSender sender) { m_sendTab = std::move(sender); }

    // Red, the colour MaskedText shows a misfit in.
    static constexpr uint32_t MaskErrorColor = RGBColor(255, 0, 0);

private:
    // Runs a per-character filter in the common frame (busy guard, caret correction, write-back).
    void filterChars(TextBox& TextObj, const std::function<bool(char32_t c, size_t index)>& keeps);
    // The frame of Integer_Neg and Numeric_Neg: the result always starts with "-".
    void filterNegative(TextBox& TextObj, bool allowPoint);
    void caseConvert(TextBox& TextObj, char32_t& previous, bool upper);

    QString m_savedText;
    uint32_t m_backColorNormal = SystemColor(SysColorWindow);
    uint32_t m_backColorGotFocus = RGBColor(255, 255, 225);
    uint32_t m_foreColorNormal = SystemColor(SysColorWindowText);
    uint32_t m_foreColorGotFocus = RGBColor(0, 0, 0);
    bool m_allowColorChange = false;
    bool m_removeExtraSpaces = false;
    bool m_busy = false;
    // The last character CaseUpper, CaseLower and Alpha_All examined, kept between calls.
    char32_t m_prevCaseUpper = 0;
    char32_t m_prevCaseLower = 0;
    char32_t m_prevAlphaAll = 0;
    TabSender m_sendTab;
};

} // namespace ktv
