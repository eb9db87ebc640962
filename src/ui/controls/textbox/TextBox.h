// The small text box interface the text box behaviour works through; a host's text box provides it.
// Positions and lengths count characters as the user sees them (code points), not UTF-16 units.
#pragma once

#include <QString>
#include <cstdint>

namespace ktv {

class TextBox {
public:
    virtual ~TextBox() = default;

    virtual QString Text() const = 0;
    // Writing the text raises the box's change event, as typing does.
    virtual void setText(const QString& text) = 0;

    // Caret position (the start of the selection when there is one), counted from 0.
    virtual int SelStart() const = 0;
    // Puts the caret at `position` and clears the selection; beyond the end means the end.
    virtual void setSelStart(int position) = 0;
    // Selects `length` characters from the current caret position.
    virtual void setSelLength(int length) = 0;

    // Colours in the shared encoding (see platform/qt/SystemColors.h).
    virtual void setBackColor(uint32_t color) = 0;
    virtual void setForeColor(uint32_t color) = 0;
};

} // namespace ktv
