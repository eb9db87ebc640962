// A text box for the behaviour tests: keeps text, caret and colours, counts writes, and can raise the
// change event from its own text write the way a real box does.
#pragma once

#include "ui/controls/textbox/TextBox.h"

#include <QString>
#include <algorithm>
#include <functional>

namespace ktv::test {

class FakeTextBox final : public TextBox {
public:
    FakeTextBox() = default;
    FakeTextBox(const QString& text, int caret) : text(text), selStart(caret) {}

    QString Text() const override { return text; }
    void setText(const QString& value) override
    {
        ++textWrites;
        const bool changed = value != text;
        text = value;
        selStart = int(text.toStdU32String().size()); // a real box leaves the caret at the end
        selLength = 0;
        if (changed && onChange)
            onChange(*this);
    }
    int SelStart() const override { return selStart; }
    void setSelStart(int position) override
    {
        minCaretWritten = std::min(minCaretWritten, position);
        selStart = std::clamp(position, 0, int(text.toStdU32String().size()));
        selLength = 0;
    }
    void setSelLength(int length) override { selLength = length; }
    void setBackColor(uint32_t color) override
    {
        backColor = color;
        ++colorWrites;
    }
    void setForeColor(uint32_t color) override
    {
        foreColor = color;
        ++colorWrites;
    }

    // The user types: the text and caret change, then the change event runs.
    void type(const QString& newText, int caret)
    {
        text = newText;
        selStart = caret;
        if (onChange)
            onChange(*this);
    }

    QString text;
    int selStart = 0;
    int selLength = 0;
    uint32_t backColor = 0xFFFFFFFFu; // never written
    uint32_t foreColor = 0xFFFFFFFFu;
    int colorWrites = 0;
    int textWrites = 0;
    int minCaretWritten = 0;
    std::function<void(FakeTextBox&)> onChange;
};

} // namespace ktv::test
