// Connects a QLineEdit to a clsTextBox the way a host form does: the change event runs the chosen
// filter or casing, the focus and key events run GotFocus, LostFocus, KeyPress and KeyUp.
#pragma once

#include "ui/controls/textbox/QLineEditTextBox.h"

#include <QObject>
#include <functional>

class QLineEdit;

namespace ktv {

class clsTextBox;

class TextBoxBinding final : public QObject {
    Q_OBJECT
public:
    // What the box's change event runs, e.g. [&b](TextBox& t) { b.Integer_Pos(t); }; may be empty.
    using ChangeHandler = std::function<void(TextBox&)>;

    // The binding is a child of `edit` and lives as long as it; `behaviour` must outlive both.
    TextBoxBinding(QLineEdit* edit, clsTextBox& behaviour, ChangeHandler onChange = {});

    QLineEditTextBox& textBox() { return m_box; }

    // The platform's virtual-key code of a Qt key, or 0 for keys the behaviour never looks at.
    static int16_t virtualKeyCode(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEditTextBox m_box;
    clsTextBox& m_behaviour;
    ChangeHandler m_onChange;
    bool m_hasFocus = false; // focus as the form sees it: switching windows does not take it away
};

} // namespace ktv
