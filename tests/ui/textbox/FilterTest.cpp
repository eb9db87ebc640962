// The character filters and casing operations of the text box behaviour, row by row: text and caret
// before the change event, text and caret after it.
#include "FakeTextBox.h"
#include "ui/controls/textbox/clsTextBox.h"

#include <gtest/gtest.h>

namespace ktv {
namespace {

using test::FakeTextBox;
using Operation = void (clsTextBox::*)(TextBox&);

struct FilterRow {
    const char* name;
    Operation operation;
    const char* text;
    int caret;
    const char* expectedText;
    int expectedCaret;
};

const FilterRow kFilterRows[] = {
    {"Integer_Pos", &clsTextBox::Integer_Pos, "12a3", 3, "123", 2},
    {"Integer_Pos", &clsTextBox::Integer_Pos, "abc", 3, "", 0},
    {"Integer_Pos", &clsTextBox::Integer_Pos, "1ç2", 2, "12", 1},
    {"Integer_Pos", &clsTextBox::Integer_Pos, "-1.5", 4, "15", 2},
    // The caret moves back for every dropped character, even one after it; below 0 means the end.
    {"Integer_Pos", &clsTextBox::Integer_Pos, "a12", 0, "12", 2},
    {"Integer_Pos", &clsTextBox::Integer_Pos, "", 0, "", 0},
    {"Integer_All", &clsTextBox::Integer_All, "-12", 3, "-12", 3},
    {"Integer_All", &clsTextBox::Integer_All, "1-2", 2, "12", 1},
    {"Integer_All", &clsTextBox::Integer_All, "--1", 2, "-1", 1},
    {"Numeric_Pos", &clsTextBox::Numeric_Pos, "1.2.3", 5, "1.23", 4},
    {"Numeric_Pos", &clsTextBox::Numeric_Pos, ".5", 2, ".5", 2},
    {"Numeric_Pos", &clsTextBox::Numeric_Pos, "-a1.b", 5, "1.", 2},
    {"Numeric_All", &clsTextBox::Numeric_All, "-1.2.3", 6, "-1.23", 5},
    {"Numeric_All", &clsTextBox::Numeric_All, "1-.5", 4, "1.5", 3},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "", 0, "-", 1},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "5", 1, "-5", 2},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "-5", 2, "-5", 2},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "-5a", 3, "-5", 2},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "12", 0, "-12", 1}, // the sign deleted comes back
    {"Integer_Neg", &clsTextBox::Integer_Neg, "5-5", 3, "-55", 3},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "-1.5", 4, "-15", 3},
    {"Integer_Neg", &clsTextBox::Integer_Neg, "a", 1, "-", 1}, // a lone letter is filtered too
    {"Numeric_Neg", &clsTextBox::Numeric_Neg, "", 0, "-", 1},
    {"Numeric_Neg", &clsTextBox::Numeric_Neg, "1.", 2, "-1.", 3},
    {"Numeric_Neg", &clsTextBox::Numeric_Neg, "-1.5.5", 6, "-1.55", 5},
    {"Numeric_Neg", &clsTextBox::Numeric_Neg, "--.", 3, "-.", 2},
    {"Numeric_WithSymbols", &clsTextBox::Numeric_WithSymbols, "Aç%1z", 5, "ç%1", 3},
    {"Numeric_WithSymbols", &clsTextBox::Numeric_WithSymbols, "a b", 3, " ", 1},
    {"Alpha_All", &clsTextBox::Alpha_All, "a1b 2", 5, "ab ", 3},
    {"Alpha_All", &clsTextBox::Alpha_All, "ç  9", 4, "ç  ", 3},
    {"AlphaNumeric_NoSymbols", &clsTextBox::AlphaNumeric_NoSymbols, "a1 ç-B", 6, "a1B", 3},
    {"Alpha_NoSymbols", &clsTextBox::Alpha_NoSymbols, "aç b", 4, "ab", 2},
    {"Alpha_NoSymbols", &clsTextBox::Alpha_NoSymbols, "x1y", 2, "xy", 1},
    {"CaseUpper", &clsTextBox::CaseUpper, "istanbul ılık", 5, "İSTANBUL ILIK", 5},
    {"CaseUpper", &clsTextBox::CaseUpper, "a   b", 5, "A   B", 5},
    {"CaseLower", &clsTextBox::CaseLower, "IŞIK İZMİR", 2, "ışık izmir", 2},
    {"CaseProper", &clsTextBox::CaseProper, "ılık istanbul", 3, "Ilık İstanbul", 3},
    {"CaseProper", &clsTextBox::CaseProper, "o'neil", 6, "O'Neil", 6},
    // Characters beyond the basic plane count once, like any other character.
    {"Integer_Pos", &clsTextBox::Integer_Pos, "1\U0001F600" "2", 2, "12", 1},
    {"Numeric_WithSymbols", &clsTextBox::Numeric_WithSymbols, "\U0001F600a", 2, "\U0001F600", 1},
};

TEST(clsTextBoxFilters, EveryRowGivesItsTextAndCaret)
{
    for (const auto& row : kFilterRows) {
        SCOPED_TRACE(std::string(row.name) + " on \"" + row.text + "\"");
        clsTextBox behaviour;
        FakeTextBox box(QString::fromUtf8(row.text), row.caret);
        (behaviour.*row.operation)(box);
        EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
        EXPECT_EQ(box.selStart, row.expectedCaret);
        EXPECT_GE(box.minCaretWritten, 0);
        EXPECT_FALSE(behaviour.busy());
    }
}

struct SpacesRow {
    const char* name;
    Operation operation;
    const char* text;
    int caret;
    const char* expectedText;
    int expectedCaret;
};

// With remove extra spaces set, a space after a space is dropped and the caret moves back.
const SpacesRow kSpacesRows[] = {
    {"Alpha_All", &clsTextBox::Alpha_All, "a  b", 3, "a b", 2},
    // A digit becomes the remembered character too, so the space after it survives.
    {"Alpha_All", &clsTextBox::Alpha_All, "a 1  b", 6, "a  b", 4},
    {"CaseUpper", &clsTextBox::CaseUpper, "a   b", 5, "A B", 3},
    {"CaseLower", &clsTextBox::CaseLower, "I   I", 5, "ı ı", 3},
    {"CaseProper", &clsTextBox::CaseProper, "a   b", 5, "A B", 3},
    {"CaseProper", &clsTextBox::CaseProper, "a   b", 1, "A B", 1},
};

TEST(clsTextBoxFilters, RemoveExtraSpacesShrinksRuns)
{
    for (const auto& row : kSpacesRows) {
        SCOPED_TRACE(std::string(row.name) + " on \"" + row.text + "\"");
        clsTextBox behaviour;
        behaviour.pRemoveExtraSpaces(true);
        FakeTextBox box(QString::fromUtf8(row.text), row.caret);
        (behaviour.*row.operation)(box);
        EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
        EXPECT_EQ(box.selStart, row.expectedCaret);
    }
}

TEST(clsTextBoxFilters, RememberedCharacterCarriesOverBetweenCalls)
{
    // Each of Alpha_All, CaseUpper and CaseLower remembers the last character it looked at, so a
    // text ending in a space followed by a text starting with one loses that leading space.
    clsTextBox behaviour;
    behaviour.pRemoveExtraSpaces(true);
    FakeTextBox box(QStringLiteral("a "), 2);
    behaviour.Alpha_All(box);
    EXPECT_EQ(box.text, QStringLiteral("a "));
    box.text = QStringLiteral(" x");
    box.selStart = 2;
    behaviour.Alpha_All(box);
    EXPECT_EQ(box.text, QStringLiteral("x"));
    EXPECT_EQ(box.selStart, 1);

    // CaseUpper keeps its own memory: Alpha_All's last character does not affect it.
    FakeTextBox other(QStringLiteral(" y"), 2);
    behaviour.CaseUpper(other);
    EXPECT_EQ(other.text, QStringLiteral(" Y"));
}

struct ProperRow {
    const char* input;
    const char* expected;
    bool removeExtraSpaces;
};

const ProperRow kProperRows[] = {
    {"mcdonald", "McDonald", false},
    {"o'neil", "O'Neil", false},
    {"jean-paul", "Jean-Paul", false},
    {"a.b/c&d", "A.B/C&D", false},
    {"ılık istanbul", "Ilık İstanbul", false},
    {"HELLO WORLD", "Hello World", false},
    {"", "", false},
    {"end.", "End.", false}, // a separator at the end changes nothing
    {"  x", "  X", false},
    {"ab mcx", "Ab McX", false},
    {"xmcdonald", "Xmcdonald", false}, // "Mc" only where the M became a capital
    {"ann o'brien-smith", "Ann O'Brien-Smith", false},
    {"a   b  c", "A   B  C", false},
    {"a   b  c", "A B C", true},
    {" a  ", " A ", true}, // leading and trailing spaces stay, shrunk to one
    {"çiğdem şahin", "Çiğdem Şahin", false},
};

TEST(clsTextBoxFilters, ProperCaseStringRows)
{
    for (const auto& row : kProperRows) {
        SCOPED_TRACE(row.input);
        clsTextBox behaviour;
        behaviour.pRemoveExtraSpaces(row.removeExtraSpaces);
        EXPECT_EQ(behaviour.ProperCaseString(QString::fromUtf8(row.input)), QString::fromUtf8(row.expected));
    }
}

struct FixedDecRow {
    const char* text;
    int caret;
    int16_t decPlaces;
    bool showTrailingZero;
    bool allowNegative;
    const char* expectedText;
    int expectedCaret;
};

const FixedDecRow kFixedDecRows[] = {
    {"007", 3, 2, false, false, "7", 1},
    {"1.234", 5, 2, false, false, "1.23", 4},
    {"1.2", 3, 2, true, false, "1.20", 3},
    {"5", 1, 2, true, false, "5", 1},
    {"5.", 2, 2, true, false, "5.00", 2},
    {"1.5", 3, 0, false, false, "15", 2},
    {"-5", 2, 2, false, false, "5", 1},
    {"-5", 2, 2, false, true, "-5", 2},
    {"5-", 2, 2, false, true, "5", 1}, // only a leading "-" is a sign
    {"-007", 4, 0, false, true, "-007", 4},
    {"00", 2, 0, false, false, "00", 2},
    {"0.5", 3, 2, false, false, "0.5", 3},
    {".5", 2, 2, false, false, ".5", 2},
    {"1.2.3", 5, 2, false, false, "1.23", 4},
    {"12a", 3, 2, false, false, "12", 2},
    {"1a2", 2, 2, false, false, "12", 2}, // the caret is not corrected for dropped characters
    // Leading zeros removed before the caret would put it before the start: it stays at 0.
    {"007", 0, 0, false, false, "7", 0},
    // Integer parts beyond what a floating-point number holds stay exact.
    {"0012345678901234567890", 22, 0, false, false, "12345678901234567890", 20},
};

TEST(clsTextBoxFilters, NumericFixedDecRows)
{
    for (const auto& row : kFixedDecRows) {
        SCOPED_TRACE(std::string(row.text) + " places " + std::to_string(row.decPlaces));
        clsTextBox behaviour;
        FakeTextBox box(QString::fromUtf8(row.text), row.caret);
        behaviour.Numeric_FixedDec(box, row.decPlaces, row.showTrailingZero, row.allowNegative);
        EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
        EXPECT_EQ(box.selStart, row.expectedCaret);
        EXPECT_GE(box.minCaretWritten, 0);
    }
}

TEST(clsTextBoxFilters, NumericFixedDecLeavesAnEmptyBoxAlone)
{
    clsTextBox behaviour;
    FakeTextBox box(QString(), 0);
    behaviour.Numeric_FixedDec(box, 2, true, true);
    EXPECT_EQ(box.textWrites, 0);
}

} // namespace
} // namespace ktv
