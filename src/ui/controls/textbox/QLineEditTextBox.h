// The text box interface over a QLineEdit: positions in characters the user sees (code points),
// colours in the shared encoding applied to the box's palette.
#pragma once

#include "ui/controls/textbox/TextBox.h"

#include <QLineEdit>
#include <QPointer>

namespace ktv {

class QLineEditTextBox final : public TextBox {
public:
    explicit QLineEditTextBox(QLineEdit* edit);

    QString Text() const override;
    void setText(const QString& text) override;
    int SelStart() const override;
    void setSelStart(int position) override;
    void setSelLength(int length) override;
    void setBackColor(uint32_t color) override;
    void setForeColor(uint32_t color) override;

    // The colours last written (the shared encoding), for hosts and tests.
    uint32_t BackColor() const { return m_backColor; }
    uint32_t ForeColor() const { return m_foreColor; }

    QLineEdit* lineEdit() const { return m_edit; }

    // Conversions between UTF-16 positions of a QString and character (code point) positions.
    static int toCharPosition(const QString& text, int utf16Position);
    static int toUtf16Position(const QString& text, int charPosition);

private:
    QPointer<QLineEdit> m_edit;
    uint32_t m_backColor;
    uint32_t m_foreColor;
};

} // namespace ktv
