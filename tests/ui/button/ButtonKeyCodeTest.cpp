// The KeyCode the button's key events carry: the platform's virtual-key code of every key, from
// a real key press on the button (keypad, punctuation, shifted punctuation, named keys).
#include "ButtonTestSupport.h"
#include "ui/controls/button/VirtualKeys.h"

#include <QTest>

using namespace ktv;
using namespace ktv::test;

namespace {

struct KeyRow {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    short keyCode;
};

const KeyRow kKeyRows[] = {
    {"Letter", Qt::Key_Q, Qt::NoModifier, 81},
    {"Digit", Qt::Key_7, Qt::NoModifier, 55},
    {"Keypad0", Qt::Key_0, Qt::KeypadModifier, 96},
    {"Keypad5", Qt::Key_5, Qt::KeypadModifier, 101},
    {"Keypad9", Qt::Key_9, Qt::KeypadModifier, 105},
    {"KeypadMultiply", Qt::Key_Asterisk, Qt::KeypadModifier, 106},
    {"KeypadAdd", Qt::Key_Plus, Qt::KeypadModifier, 107},
    {"KeypadSubtract", Qt::Key_Minus, Qt::KeypadModifier, 109},
    {"KeypadDecimal", Qt::Key_Period, Qt::KeypadModifier, 110},
    {"KeypadDivide", Qt::Key_Slash, Qt::KeypadModifier, 111},
    {"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, 13},
    {"Keypad5WithoutNumLock", Qt::Key_Clear, Qt::KeypadModifier, 12},
    {"Comma", Qt::Key_Comma, Qt::NoModifier, 188},
    {"Period", Qt::Key_Period, Qt::NoModifier, 190},
    {"Minus", Qt::Key_Minus, Qt::NoModifier, 189},
    {"Equal", Qt::Key_Equal, Qt::NoModifier, 187},
    {"Semicolon", Qt::Key_Semicolon, Qt::NoModifier, 186},
    {"Slash", Qt::Key_Slash, Qt::NoModifier, 191},
    {"Grave", Qt::Key_QuoteLeft, Qt::NoModifier, 192},
    {"BracketLeft", Qt::Key_BracketLeft, Qt::NoModifier, 219},
    {"Backslash", Qt::Key_Backslash, Qt::NoModifier, 220},
    {"BracketRight", Qt::Key_BracketRight, Qt::NoModifier, 221},
    {"Apostrophe", Qt::Key_Apostrophe, Qt::NoModifier, 222},
    {"ShiftedComma", Qt::Key_Less, Qt::ShiftModifier, 188},
    {"ShiftedSlash", Qt::Key_Question, Qt::ShiftModifier, 191},
    {"ShiftedDigit", Qt::Key_Exclam, Qt::ShiftModifier, 49},
    {"F12", Qt::Key_F12, Qt::NoModifier, 123},
    {"PrintScreen", Qt::Key_Print, Qt::NoModifier, 44},
    {"Menu", Qt::Key_Menu, Qt::NoModifier, 93},
    {"NumLock", Qt::Key_NumLock, Qt::NoModifier, 144},
    {"ScrollLock", Qt::Key_ScrollLock, Qt::NoModifier, 145},
};

} // namespace

class ButtonKeyCode : public RunningForm, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(ButtonKeyCode, KeyDownAndKeyUpCarryTheVirtualKeyCode)
{
    const KeyRow& row = GetParam();
    auto* b = place("Cmd");
    b->setFocus();
    QTest::keyPress(b, Qt::Key(row.key), row.modifiers);
    QTest::keyRelease(b, Qt::Key(row.key), row.modifiers);
    // A modifier held with the key has its own key-down first.
    QStringList events = log.take().filter(QStringLiteral("Key"));
    events.removeAll(QStringLiteral("Cmd.KeyDown(16)"));
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.first(), QStringLiteral("Cmd.KeyDown(%1)").arg(row.keyCode));
    EXPECT_EQ(events.last(), QStringLiteral("Cmd.KeyUp(%1)").arg(row.keyCode));
}

INSTANTIATE_TEST_SUITE_P(Keys, ButtonKeyCode, ::testing::ValuesIn(kKeyRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ButtonKeyCodeByPlace, ThePlaceOnTheKeyboardDecidesForPunctuationWhenTheScanCodeIsKnown)
{
    // The key right of L gives a letter of its own on many layouts; its code is still 186.
    EXPECT_EQ(virtualKeyCode(0x15E /* capital S with cedilla */, Qt::NoModifier, 47), 186);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Udiaeresis, Qt::NoModifier, 35), 221);
    EXPECT_EQ(virtualKeyCode(Qt::Key_Comma, Qt::NoModifier, 59), 188);
}
