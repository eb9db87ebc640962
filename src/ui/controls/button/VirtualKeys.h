// The platform's virtual-key code of a key, as the button's key events report it.
#pragma once

#include <QtGlobal>
#include <qnamespace.h>

class QKeyEvent;

namespace ktv {

// The virtual-key code of a Qt key. The keypad keys (Qt::KeypadModifier) have codes of their own;
// the punctuation keys take the code of their place on the keyboard, found from the scan code
// where the platform gives one (an X keycode) and from the character otherwise.
short virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode = 0);
short virtualKeyCode(const QKeyEvent* event);

} // namespace ktv
