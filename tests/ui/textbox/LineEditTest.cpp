// The behaviour on real QLineEdits: typed keys, the caret, focus moves by Enter and arrows, Esc, colours.
#include "BeepCounter.h"
#include "ui/controls/textbox/TextBoxBinding.h"
#include "ui/controls/textbox/clsTextBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace ktv {
namespace {

using test::BeepCounter;

QPalette pinnedPalette()
{
    QPalette palette(QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

class LineEditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldPalette = QApplication::palette();
        QApplication::setPalette(pinnedPalette());
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        integer = addBox(layout, "Integer_Pos", [this](TextBox& t) { behaviour.Integer_Pos(t); });
        upper = addBox(layout, "CaseUpper", [this](TextBox& t) { behaviour.CaseUpper(t); });
        masked = addBox(layout, "MaskedText", [this](TextBox& t) { behaviour.MaskedText(t, "##/##"); });
        symbols =
            addBox(layout, "Numeric_WithSymbols", [this](TextBox& t) { behaviour.Numeric_WithSymbols(t); });
        negative = addBox(layout, "Integer_Neg", [this](TextBox& t) { behaviour.Integer_Neg(t); });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        QApplication::setPalette(m_oldPalette);
    }

    QLineEdit* addBox(QVBoxLayout* layout, const char* name, TextBoxBinding::ChangeHandler handler)
    {
        auto* edit = new QLineEdit(window.get());
        edit->setObjectName(QString::fromLatin1(name));
        layout->addWidget(edit);
        new TextBoxBinding(edit, behaviour, std::move(handler));
        return edit;
    }

    void focus(QLineEdit* edit)
    {
        edit->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(edit->hasFocus());
    }

    // Types any text, Turkish letters included (QTest::keyClicks takes ASCII only).
    static void typeText(QWidget* widget, const QString& text)
    {
        for (const char32_t c : text.toStdU32String()) {
            const QString one = QString::fromStdU32String(std::u32string(1, c));
            const auto key = c < 0x80 ? Qt::Key(QChar(char16_t(c)).toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, widget, key, one, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, key, one, Qt::NoModifier);
        }
    }

    // Delivers the Tab a key-up posted; no waiting on a clock.
    static void deliverPosted() { QApplication::processEvents(); }

    clsTextBox behaviour;
    std::unique_ptr<QWidget> window;
    QLineEdit* integer = nullptr;
    QLineEdit* upper = nullptr;
    QLineEdit* masked = nullptr;
    QLineEdit* symbols = nullptr;
    QLineEdit* negative = nullptr;

private:
    QPalette m_oldPalette;
};

TEST_F(LineEditFixture, TypingFiltersAndKeepsTheCaret)
{
    focus(integer);
    QTest::keyClicks(integer, "12a3");
    EXPECT_EQ(integer->text(), QStringLiteral("123"));
    EXPECT_EQ(integer->cursorPosition(), 3);

    QTest::keyClick(integer, Qt::Key_Left);
    QTest::keyClicks(integer, "x9");
    EXPECT_EQ(integer->text(), QStringLiteral("1293"));
    EXPECT_EQ(integer->cursorPosition(), 3);
}

TEST_F(LineEditFixture, TypingUpperCasesTurkishLetters)
{
    focus(upper);
    typeText(upper, QString::fromUtf8("istanbul ılık"));
    EXPECT_EQ(upper->text(), QString::fromUtf8("İSTANBUL ILIK"));
    EXPECT_EQ(upper->cursorPosition(), 13);
    QTest::keyClick(upper, Qt::Key_Home);
    QTest::keyClicks(upper, "i");
    EXPECT_EQ(upper->text(), QString::fromUtf8("İİSTANBUL ILIK"));
    EXPECT_EQ(upper->cursorPosition(), 1);
}

TEST_F(LineEditFixture, MaskTypesLiteralsAndShowsMisfitsInRed)
{
    BeepCounter beeps;
    focus(masked);
    QTest::keyClicks(masked, "123");
    EXPECT_EQ(masked->text(), QStringLiteral("12/3"));
    EXPECT_EQ(masked->cursorPosition(), 4);
    EXPECT_EQ(masked->palette().color(QPalette::Text), QColor(Qt::black));

    QTest::keyClicks(masked, "a");
    EXPECT_EQ(masked->text(), QStringLiteral("12/3a"));
    EXPECT_EQ(masked->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(beeps.count, 1);

    QTest::keyClick(masked, Qt::Key_Backspace);
    QTest::keyClicks(masked, "4");
    EXPECT_EQ(masked->text(), QStringLiteral("12/34"));
    EXPECT_EQ(masked->palette().color(QPalette::Text), QColor(Qt::black));
    QTest::keyClicks(masked, "5");
    EXPECT_EQ(masked->text(), QStringLiteral("12/34"));
    EXPECT_EQ(beeps.count, 2);
}

TEST_F(LineEditFixture, FocusSelectsAllSoTypingReplaces)
{
    upper->setText(QStringLiteral("ABC"));
    focus(integer);
    QTest::keyClick(integer, Qt::Key_Tab);
    ASSERT_TRUE(upper->hasFocus());
    EXPECT_EQ(upper->selectedText(), QStringLiteral("ABC"));
    QTest::keyClicks(upper, "x");
    EXPECT_EQ(upper->text(), QStringLiteral("X"));
}

struct FocusMove {
    const char* name;
    const char* from; // object names of the boxes
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* to;
};

void PrintTo(const FocusMove& row, std::ostream* os) { *os << row.name; }

class FocusMoves : public LineEditFixture, public ::testing::WithParamInterface<FocusMove> {};

TEST_P(FocusMoves, EnterAndArrowsMoveAlongTheTabOrder)
{
    const FocusMove& row = GetParam();
    auto* from = window->findChild<QLineEdit*>(QString::fromLatin1(row.from));
    auto* to = window->findChild<QLineEdit*>(QString::fromLatin1(row.to));
    ASSERT_TRUE(from && to);
    focus(from);
    QTest::keyClick(from, row.key, row.modifiers);
    deliverPosted();
    EXPECT_TRUE(to->hasFocus());
    // Enter is swallowed: the box does not take it and the text is unchanged.
    EXPECT_EQ(from->text(), QString());
}

const FocusMove kFocusMoves[] = {
    {"EnterForward", "Integer_Pos", Qt::Key_Return, Qt::NoModifier, "CaseUpper"},
    {"KeypadEnterForward", "Integer_Pos", Qt::Key_Enter, Qt::KeypadModifier, "CaseUpper"},
    {"DownForward", "CaseUpper", Qt::Key_Down, Qt::NoModifier, "MaskedText"},
    {"UpBack", "MaskedText", Qt::Key_Up, Qt::NoModifier, "CaseUpper"},
    {"ShiftEnterStillForward", "CaseUpper", Qt::Key_Return, Qt::ShiftModifier, "MaskedText"},
    {"ShiftUpStillBack", "CaseUpper", Qt::Key_Up, Qt::ShiftModifier, "Integer_Pos"},
};
INSTANTIATE_TEST_SUITE_P(Keys, FocusMoves, ::testing::ValuesIn(kFocusMoves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEditFixture, EscRestoresTheTextTheBoxHadOnFocus)
{
    upper->setText(QStringLiteral("AB"));
    focus(upper);
    QTest::keyClick(upper, Qt::Key_End);
    QTest::keyClicks(upper, "cd");
    ASSERT_EQ(upper->text(), QStringLiteral("ABCD"));
    QTest::keyClick(upper, Qt::Key_Escape);
    EXPECT_EQ(upper->text(), QStringLiteral("AB"));
    EXPECT_EQ(upper->cursorPosition(), 2);
}

TEST_F(LineEditFixture, EscPutsTheCaretAtTheEndOfTheTextTheFilterLeaves)
{
    focus(negative);
    typeText(negative, QStringLiteral("12"));
    ASSERT_EQ(negative->text(), QStringLiteral("-12"));
    QTest::keyClick(negative, Qt::Key_Escape);
    // The saved text is empty; the filter makes it "-" and the caret goes behind that.
    EXPECT_EQ(negative->text(), QStringLiteral("-"));
    EXPECT_EQ(negative->cursorPosition(), 1);
    typeText(negative, QStringLiteral("78"));
    EXPECT_EQ(negative->text(), QStringLiteral("-78"));
}

TEST_F(LineEditFixture, FocusMovedWhileTheWindowIsInactiveEndsTheBoxFocus)
{
    upper->setText(QStringLiteral("AB"));
    focus(upper);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    // The program moves the focus while another window is active; the box hears nothing yet.
    integer->setFocus(Qt::OtherFocusReason);
    upper->setText(QStringLiteral("XY"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(integer->hasFocus());

    // Coming back into the box is a new focus entry: all selected, Esc restores what it held then.
    focus(upper);
    EXPECT_EQ(upper->selectedText(), QStringLiteral("XY"));
    typeText(upper, QStringLiteral("z"));
    ASSERT_EQ(upper->text(), QStringLiteral("Z"));
    QTest::keyClick(upper, Qt::Key_Escape);
    EXPECT_EQ(upper->text(), QStringLiteral("XY"));
}

TEST_F(LineEditFixture, ColoursFollowTheFocusWhenAllowed)
{
    focus(upper);
    behaviour.pAllowColorChange(true); // takes effect at the next focus change
    EXPECT_EQ(integer->palette().color(QPalette::Base), QColor(Qt::white));
    focus(integer);
    EXPECT_EQ(integer->palette().color(QPalette::Base), QColor(255, 255, 225));
    focus(upper);
    EXPECT_EQ(integer->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(integer->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST_F(LineEditFixture, CaretCountsCharactersBeyondTheBasicPlane)
{
    symbols->setText(QString::fromUtf8("\U0001F600a1"));
    EXPECT_EQ(symbols->text(), QString::fromUtf8("\U0001F6001"));
    EXPECT_EQ(symbols->cursorPosition(), 3); // after the digit: two UTF-16 units for the emoji
}

TEST_F(LineEditFixture, FixedDecimalsSettleWhileTyping)
{
    // Numeric_FixedDec has no re-entry guard: its own write runs it again on the real box.
    auto* fixed = addBox(static_cast<QVBoxLayout*>(window->layout()), "Numeric_FixedDec",
                         [this](TextBox& t) { behaviour.Numeric_FixedDec(t, 2, true, false); });
    focus(fixed);
    QTest::keyClicks(fixed, "007");
    EXPECT_EQ(fixed->text(), QStringLiteral("7"));
    EXPECT_EQ(fixed->cursorPosition(), 1);
    QTest::keyClicks(fixed, ".");
    EXPECT_EQ(fixed->text(), QStringLiteral("7.00"));
    EXPECT_EQ(fixed->cursorPosition(), 2);
    QTest::keyClicks(fixed, "15");
    EXPECT_EQ(fixed->text(), QStringLiteral("7.15"));
    EXPECT_EQ(fixed->cursorPosition(), 4);
}

TEST(QLineEditTextBox, PositionConversions)
{
    const QString text = QString::fromUtf8("a\U0001F600b");
    const int utf16[] = {0, 1, 3, 4};
    for (int chars = 0; chars < 4; ++chars) {
        EXPECT_EQ(QLineEditTextBox::toUtf16Position(text, chars), utf16[chars]);
        EXPECT_EQ(QLineEditTextBox::toCharPosition(text, utf16[chars]), chars);
    }
    EXPECT_EQ(QLineEditTextBox::toCharPosition(text, 2), 2); // inside the pair: the character counts
    EXPECT_EQ(QLineEditTextBox::toUtf16Position(text, 9), 4);
}

} // namespace
} // namespace ktv
