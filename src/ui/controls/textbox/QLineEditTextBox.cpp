// QLineEdit adapter of the text box interface.
#include "ui/controls/textbox/QLineEditTextBox.h"

#include "platform/qt/SystemColors.h"

#include <QLineEdit>
#include <QPalette>
#include <algorithm>

namespace ktv {

QLineEditTextBox::QLineEditTextBox(QLineEdit* edit)
    : m_edit(edit), m_backColor(SystemColor(SysColorWindow)), m_foreColor(SystemColor(SysColorWindowText))
{}

int QLineEditTextBox::toCharPosition(const QString& text, int utf16Position)
{
    utf16Position = std::clamp(utf16Position, 0, int(text.size()));
    int chars = 0;
    for (int i = 0; i < utf16Position; ++i) {
        // The low half of a pair belongs to the character its high half started.
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++chars;
    }
    return chars;
}

int QLineEditTextBox::toUtf16Position(const QString& text, int charPosition)
{
    int i = 0;
    for (int chars = 0; chars < charPosition && i < text.size(); ++chars) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            i += 2;
        else
            i += 1;
    }
    return i;
}

QString QLineEditTextBox::Text() const { return m_edit ? m_edit->text() : QString(); }

void QLineEditTextBox::setText(const QString& text)
{
    if (m_edit)
        m_edit->setText(text); // raises textChanged, the box's change event, when the text differs
}

int QLineEditTextBox::SelStart() const
{
    if (!m_edit)
        return 0;
    const int utf16 = m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
    return toCharPosition(m_edit->text(), utf16);
}

void QLineEditTextBox::setSelStart(int position)
{
    if (!m_edit)
        return;
    const QString text = m_edit->text();
    m_edit->setCursorPosition(toUtf16Position(text, std::max(position, 0)));
}

void QLineEditTextBox::setSelLength(int length)
{
    if (!m_edit)
        return;
    const QString text = m_edit->text();
    const int start = m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
    const int startChar = toCharPosition(text, start);
    const int end = toUtf16Position(text, startChar + std::max(length, 0));
    m_edit->setSelection(start, end - start);
}

void QLineEditTextBox::setBackColor(uint32_t color)
{
    m_backColor = color;
    if (!m_edit)
        return;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, TranslateColor(color));
    m_edit->setPalette(palette);
}

void QLineEditTextBox::setForeColor(uint32_t color)
{
    m_foreColor = color;
    if (!m_edit)
        return;
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, TranslateColor(color));
    m_edit->setPalette(palette);
}

} // namespace ktv
