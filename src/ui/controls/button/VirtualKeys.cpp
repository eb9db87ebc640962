// Qt keys to the platform's virtual-key codes.
#include "ui/controls/button/VirtualKeys.h"

#include <QKeyEvent>

namespace ktv {

namespace {

// The keypad with Num Lock on, and its operators.
short keypadCode(int k)
{
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return short(96 + (k - Qt::Key_0));
    switch (k) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110; // the decimal key, whatever it prints
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter:
    case Qt::Key_Return: return 13;
    case Qt::Key_Clear: return 12; // keypad 5 with Num Lock off
    default: return 0;
    }
}

// The keys of the main block whose code follows their place: an X keycode (evdev code + 8).
short placeCode(quint32 scanCode)
{
    switch (scanCode) {
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18: return short('1' + (scanCode - 10));
    case 19: return '0';
    case 20: return 189; // - _
    case 21: return 187; // = +
    case 34: return 219; // [ {
    case 35: return 221; // ] }
    case 47: return 186; // ; :
    case 48: return 222; // ' "
    case 49: return 192; // ` ~
    case 51: return 220; // \ |
    case 59: return 188; // , <
    case 60: return 190; // . >
    case 61: return 191; // / ?
    case 94: return 226; // the extra key beside the left Shift
    default: return 0;
    }
}

// The same keys by the character they give on the common layout, shifted or not.
short characterCode(int k)
{
    switch (k) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

// Keys with a code of their own wherever they are.
short namedCode(int k)
{
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return short(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return short(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Help: return 47;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: return 0;
    }
}

} // namespace

short virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode)
{
    if (modifiers & Qt::KeypadModifier)
        if (const short code = keypadCode(qtKey))
            return code;
    if (const short code = namedCode(qtKey))
        return code;
    if (const short code = placeCode(nativeScanCode))
        return code;
    if (const short code = characterCode(qtKey))
        return code;
    // A letter of another alphabet without a scan code: its capital, as the platform's layouts
    // give the letter keys of Latin-based alphabets.
    return short(qtKey & 0x7FFF);
}

short virtualKeyCode(const QKeyEvent* event)
{
    return virtualKeyCode(event->key(), event->modifiers(), event->nativeScanCode());
}

} // namespace ktv
