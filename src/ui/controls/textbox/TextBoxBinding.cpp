// Event wiring between a QLineEdit and the text box behaviour.
#include "ui/controls/textbox/TextBoxBinding.h"

#include "ui/controls/textbox/clsTextBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ktv {

TextBoxBinding::TextBoxBinding(QLineEdit* edit, clsTextBox& behaviour, ChangeHandler onChange)
    : QObject(edit), m_box(edit), m_behaviour(behaviour), m_onChange(std::move(onChange))
{
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (m_onChange)
            m_onChange(m_box);
    });
}

int16_t TextBoxBinding::virtualKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return clsTextBox::vbKeyReturn;
    case Qt::Key_Escape: return clsTextBox::vbKeyEscape;
    case Qt::Key_Up: return clsTextBox::vbKeyUp;
    case Qt::Key_Down: return clsTextBox::vbKeyDown;
    case Qt::Key_Left: return 37;
    case Qt::Key_Right: return 39;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Space: return 32;
    default: break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return int16_t(qtKey); // Qt uses the same codes as the platform for these
    return 0;
}

bool TextBoxBinding::eventFilter(QObject* watched, QEvent* event)
{
    // While the box is being destroyed it is no QLineEdit any more (its own part is gone), and the
    // focus-out that destruction sends must not reach the behaviour.
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || edit != m_box.lineEdit())
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::FocusIn:
        if (!m_hasFocus) {
            m_hasFocus = true;
            m_behaviour.GotFocus(m_box);
        }
        break;
    case QEvent::FocusOut: {
        // Another window or a popup taking the keyboard is no focus change within the form.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_hasFocus = false;
            m_behaviour.LostFocus(m_box);
        }
        break;
    }
    case QEvent::WindowActivate:
        // A focus move made while the window was inactive sends the box no focus-out; the
        // window coming back with the focus elsewhere ends the box's focus before the new
        // owner's focus-in.
        if (m_hasFocus && edit->window()->focusWidget() != edit) {
            m_hasFocus = false;
            m_behaviour.LostFocus(m_box);
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QList<uint> typed = key->text().toUcs4();
        if (!enter && (typed.size() != 1 || typed.front() > 0x7FFF))
            break;
        const int16_t original = enter ? clsTextBox::vbKeyReturn : int16_t(typed.front());
        int16_t keyAscii = original;
        m_behaviour.KeyPress(m_box, keyAscii);
        if (keyAscii == original)
            break;
        if (keyAscii != 0)
            m_box.lineEdit()->insert(QString(QChar(char16_t(keyAscii))));
        return true; // the box does not take the original character
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            break; // one key-up per keystroke, however long the key is held
        int16_t keyCode = virtualKeyCode(key->key());
        if (keyCode == 0)
            break;
        m_behaviour.KeyUp(m_box, keyCode);
        if (keyCode == 0)
            return true;
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ktv
