// Focus, keys, trimming, masks and the re-entry guard of the text box behaviour.
#include "BeepCounter.h"
#include "FakeTextBox.h"
#include "ui/controls/textbox/clsTextBox.h"

#include <gtest/gtest.h>
#include <vector>

namespace ktv {
namespace {

using test::BeepCounter;
using test::FakeTextBox;

TEST(clsTextBoxFocus, GotFocusSelectsAllAndLeavesColoursAloneByDefault)
{
    clsTextBox behaviour;
    FakeTextBox box(QStringLiteral("abc"), 1);
    behaviour.GotFocus(box);
    EXPECT_EQ(box.selStart, 0);
    EXPECT_EQ(box.selLength, 3);
    behaviour.LostFocus(box);
    EXPECT_EQ(box.colorWrites, 0);
}

TEST(clsTextBoxFocus, ColourChangeUsesTheFocusedAndNormalColours)
{
    clsTextBox behaviour;
    behaviour.pAllowColorChange(true);
    FakeTextBox box(QStringLiteral("x"), 0);
    behaviour.GotFocus(box);
    EXPECT_EQ(box.backColor, RGBColor(255, 255, 225));
    EXPECT_EQ(box.foreColor, RGBColor(0, 0, 0));
    behaviour.LostFocus(box);
    EXPECT_EQ(box.backColor, SystemColor(SysColorWindow));
    EXPECT_EQ(box.foreColor, SystemColor(SysColorWindowText));

    // A property set takes effect at the next focus change, not at once.
    behaviour.pBackColor_GotFocus(RGBColor(1, 2, 3));
    EXPECT_EQ(box.backColor, SystemColor(SysColorWindow));
    behaviour.GotFocus(box);
    EXPECT_EQ(box.backColor, 0x030201u);
}

struct KeyUpRow {
    const char* name;
    int16_t key;
    int16_t keyAfter;
    std::vector<bool> tabs; // false = forward, true = backward
};

const KeyUpRow kKeyUpRows[] = {
    {"EnterMovesForward", 13, 0, {false}}, {"DownMovesForward", 40, 0, {false}},
    {"UpMovesBack", 38, 0, {true}},        {"EscUndoesWithoutAMove", 27, 0, {}},
    {"LetterPassesThrough", 65, 65, {}},   {"TabPassesThrough", 9, 9, {}},
};

class KeyUpRows : public ::testing::TestWithParam<KeyUpRow> {};

TEST_P(KeyUpRows, MoveTheFocusOrUndo)
{
    const KeyUpRow& row = GetParam();
    clsTextBox behaviour;
    std::vector<bool> tabs;
    behaviour.setTabSender([&tabs](bool backward) { tabs.push_back(backward); });
    FakeTextBox box(QStringLiteral("abc"), 3);
    behaviour.GotFocus(box);
    int16_t key = row.key;
    behaviour.KeyUp(box, key);
    EXPECT_EQ(key, row.keyAfter);
    EXPECT_EQ(tabs, row.tabs);
    EXPECT_EQ(box.text, QStringLiteral("abc"));
}

INSTANTIATE_TEST_SUITE_P(clsTextBoxKeys, KeyUpRows, ::testing::ValuesIn(kKeyUpRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(clsTextBoxKeys, EscRestoresTheTextOfTheLastFocusEntry)
{
    clsTextBox behaviour;
    FakeTextBox box(QStringLiteral("abc"), 0);
    behaviour.GotFocus(box);
    box.type(QStringLiteral("abcde"), 5);
    int16_t key = clsTextBox::vbKeyEscape;
    behaviour.KeyUp(box, key);
    EXPECT_EQ(box.text, QStringLiteral("abc"));
    EXPECT_EQ(box.selStart, 3);

    // Without edits nothing is written.
    const int writes = box.textWrites;
    key = clsTextBox::vbKeyEscape;
    behaviour.KeyUp(box, key);
    EXPECT_EQ(box.textWrites, writes);

    // Leaving and coming back saves the text anew.
    box.type(QStringLiteral("ab"), 2);
    behaviour.LostFocus(box);
    behaviour.GotFocus(box);
    box.type(QStringLiteral("abz"), 3);
    key = clsTextBox::vbKeyEscape;
    behaviour.KeyUp(box, key);
    EXPECT_EQ(box.text, QStringLiteral("ab"));
}

TEST(clsTextBoxKeys, EscWithoutFocusEntryClearsTheBox)
{
    clsTextBox behaviour;
    FakeTextBox box(QStringLiteral("abc"), 3);
    int16_t key = clsTextBox::vbKeyEscape;
    behaviour.KeyUp(box, key);
    EXPECT_EQ(box.text, QString());
}

struct KeyPressRow {
    const char* name;
    int16_t key;
    int16_t keyAfter;
};

const KeyPressRow kKeyPressRows[] = {
    {"EnterSwallowed", 13, 0},
    {"LineFeedKept", 10, 10},
    {"LetterKept", 65, 65},
    {"SpaceKept", 32, 32},
    {"DotlessSmallIKept", 0x131, 0x131},
};

class KeyPressRows : public ::testing::TestWithParam<KeyPressRow> {};

TEST_P(KeyPressRows, SwallowOnlyEnter)
{
    clsTextBox behaviour;
    FakeTextBox box;
    int16_t key = GetParam().key;
    behaviour.KeyPress(box, key);
    EXPECT_EQ(key, GetParam().keyAfter);
}

INSTANTIATE_TEST_SUITE_P(clsTextBoxKeys, KeyPressRows, ::testing::ValuesIn(kKeyPressRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct TrimRow {
    const char* name;
    const char* input;
    const char* expected;
};

const TrimRow kTrimRows[] = {
    {"OuterAndInnerRuns", "  a b   c ", "a b c"},
    {"OuterSpaces", " x ", "x"},
    {"OnlySpaces", "   ", ""},
    {"Empty", "", ""},
    {"NoSpaces", "ab", "ab"},
    {"InnerRun", "a  b", "a b"},
    {"OneLetter", "x", "x"},
    {"TabsKept", "\ta  b\t", "\ta b\t"},
    {"TurkishLetters", "ş  ğ", "ş ğ"},
};

class TrimRows : public ::testing::TestWithParam<TrimRow> {};

TEST_P(TrimRows, mTrimStringGivesItsText)
{
    EXPECT_EQ(clsTextBox::mTrimString(QString::fromUtf8(GetParam().input)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(clsTextBoxTrim, TrimRows, ::testing::ValuesIn(kTrimRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A box whose change event runs MaskedText, typed into step by step.
struct MaskStep {
    const char* typed;
    int caret;
    const char* expectedText;
    int expectedCaret;
    uint32_t expectedFore;
    int expectedBeeps; // beeps so far
};

constexpr uint32_t kNormal = SystemColor(SysColorWindowText);
constexpr uint32_t kRed = RGBColor(255, 0, 0);

void runMask(const char* mask, const std::vector<MaskStep>& steps, bool allowColorChange = false)
{
    BeepCounter beeps;
    clsTextBox behaviour;
    behaviour.pAllowColorChange(allowColorChange);
    FakeTextBox box;
    box.onChange = [&](FakeTextBox& b) { behaviour.MaskedText(b, QString::fromUtf8(mask)); };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(mask) + " typed \"" + step.typed + "\"");
        box.type(QString::fromUtf8(step.typed), step.caret);
        EXPECT_EQ(box.text, QString::fromUtf8(step.expectedText));
        EXPECT_EQ(box.selStart, step.expectedCaret);
        EXPECT_EQ(box.foreColor, step.expectedFore);
        EXPECT_EQ(beeps.count, step.expectedBeeps);
        EXPECT_FALSE(behaviour.busy());
    }
}

TEST(clsTextBoxMask, DateLikeMaskTypesLiteralsAndFlagsMisfits)
{
    runMask("##/##", {
                         {"1", 1, "1", 1, kNormal, 0},
                         {"12", 2, "12", 2, kNormal, 0},
                         {"123", 3, "12/3", 4, kNormal, 0},  // the literal is typed for the user
                         {"12/3a", 5, "12/3a", 5, kRed, 1},  // the misfit stays, red, with a beep
                         {"12/3", 4, "12/3", 4, kNormal, 1}, // the next fitting change clears it
                         {"12/34", 5, "12/34", 5, kNormal, 1},
                         {"12/345", 6, "12/34", 5, kNormal, 2}, // too long: cut, caret at the end
                     });
}

TEST(clsTextBoxMask, MaskRunningOutBeforeTheTextCutsTheRest)
{
    // Pasted text without its literals is pushed past the mask by the literals put in.
    runMask("##/##", {{"12345", 5, "12/34", 5, kNormal, 1}});
    runMask("#-#", {{"123", 3, "1-2", 3, kNormal, 1}});
}

TEST(clsTextBoxMask, AtSignTakesNonDigitsAndLiteralsMatch)
{
    runMask("@@-##", {
                         {"ab12", 4, "ab-12", 5, kNormal, 0},
                         {"ab-1", 4, "ab-1", 4, kNormal, 0},
                         {"a1", 2, "a1", 2, kRed, 1},
                         {"çş", 2, "çş", 2, kNormal, 1}, // Turkish letters are no digits
                     });
    runMask("##", {{"", 0, "", 0, 0xFFFFFFFFu, 0}}); // an empty text touches no colour
}

TEST(clsTextBoxMask, NormalColourIsTheFocusedOneWhenColoursChange)
{
    runMask("#", {{"1", 1, "1", 1, RGBColor(0, 0, 0), 0}, {"x", 1, "x", 1, kRed, 1}}, true);
}

TEST(clsTextBoxGuard, NestedChangeEventIsIgnoredAndTheNextOneRuns)
{
    clsTextBox behaviour;
    FakeTextBox box;
    int changeEvents = 0;
    box.onChange = [&](FakeTextBox& b) {
        ++changeEvents;
        behaviour.Integer_Pos(b);
    };
    box.type(QStringLiteral("1a"), 2);
    EXPECT_EQ(changeEvents, 2); // the typing, then the operation's own write
    EXPECT_EQ(box.text, QStringLiteral("1"));
    EXPECT_EQ(box.selStart, 1);
    EXPECT_FALSE(behaviour.busy());

    box.type(QStringLiteral("1b2"), 3);
    EXPECT_EQ(box.text, QStringLiteral("12"));
    EXPECT_EQ(box.selStart, 2);
}

struct GuardedRow {
    const char* name;
    void (*operation)(clsTextBox&, TextBox&);
};

const GuardedRow kGuardedRows[] = {
    {"Integer_Neg", [](clsTextBox& b, TextBox& t) { b.Integer_Neg(t); }},
    {"Numeric_All", [](clsTextBox& b, TextBox& t) { b.Numeric_All(t); }},
    {"Alpha_NoSymbols", [](clsTextBox& b, TextBox& t) { b.Alpha_NoSymbols(t); }},
    {"CaseUpper", [](clsTextBox& b, TextBox& t) { b.CaseUpper(t); }},
    {"CaseProper", [](clsTextBox& b, TextBox& t) { b.CaseProper(t); }},
    {"MaskedText", [](clsTextBox& b, TextBox& t) { b.MaskedText(t, QStringLiteral("#")); }},
};

class GuardedOperations : public ::testing::TestWithParam<GuardedRow> {};

TEST_P(GuardedOperations, ReturnAtOnceWhileBusy)
{
    BeepCounter beeps;
    const auto operation = GetParam().operation;
    clsTextBox behaviour;
    FakeTextBox inner(QStringLiteral("a1"), 2);
    FakeTextBox outer(QStringLiteral("1x y Z"), 6);
    int nested = 0;
    // While the outer operation writes its text, a change to another box arrives.
    outer.onChange = [&](FakeTextBox&) {
        ++nested;
        operation(behaviour, inner);
    };
    operation(behaviour, outer);
    EXPECT_GE(nested, 1);
    EXPECT_EQ(inner.textWrites, 0);
    EXPECT_EQ(inner.text, QStringLiteral("a1"));
}

INSTANTIATE_TEST_SUITE_P(clsTextBoxGuard, GuardedOperations, ::testing::ValuesIn(kGuardedRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(clsTextBoxGuard, UnguardedFixedDecimalsSettleThroughTheNestedEvent)
{
    // Numeric_FixedDec has no guard: its own write runs it again until the text stops changing.
    clsTextBox behaviour;
    FakeTextBox box;
    int changeEvents = 0;
    box.onChange = [&](FakeTextBox& b) {
        ++changeEvents;
        behaviour.Numeric_FixedDec(b, 2);
    };
    box.type(QStringLiteral("1.2.3.4"), 7);
    EXPECT_EQ(box.text, QStringLiteral("1.2"));
    EXPECT_EQ(box.selStart, 3);
    EXPECT_LE(changeEvents, 4);
}

} // namespace
} // namespace ktv
