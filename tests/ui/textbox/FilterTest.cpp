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
    {"Integer_Pos_DropsALetter", &clsTextBox::Integer_Pos, "12a3", 3, "123", 2},
    {"Integer_Pos_OnlyLetters", &clsTextBox::Integer_Pos, "abc", 3, "", 0},
    {"Integer_Pos_DropsATurkishLetter", &clsTextBox::Integer_Pos, "1ç2", 2, "12", 1},
    {"Integer_Pos_DropsSignAndPoint", &clsTextBox::Integer_Pos, "-1.5", 4, "15", 2},
    // The caret moves back for every dropped character, even one after it; below 0 means the end.
    {"Integer_Pos_LetterAfterTheCaret", &clsTextBox::Integer_Pos, "a12", 0, "12", 2},
    {"Integer_Pos_Empty", &clsTextBox::Integer_Pos, "", 0, "", 0},
    {"Integer_All_KeepsALeadingSign", &clsTextBox::Integer_All, "-12", 3, "-12", 3},
    {"Integer_All_DropsAnInnerSign", &clsTextBox::Integer_All, "1-2", 2, "12", 1},
    {"Integer_All_KeepsOneLeadingSign", &clsTextBox::Integer_All, "--1", 2, "-1", 1},
    {"Integer_All_DropsALeadingLetter", &clsTextBox::Integer_All, "a12", 1, "12", 0}, // only a sign may lead
    {"Numeric_Pos_KeepsTheFirstPoint", &clsTextBox::Numeric_Pos, "1.2.3", 5, "1.23", 4},
    {"Numeric_Pos_LeadingPoint", &clsTextBox::Numeric_Pos, ".5", 2, ".5", 2},
    {"Numeric_Pos_DropsSignAndLetters", &clsTextBox::Numeric_Pos, "-a1.b", 5, "1.", 2},
    {"Numeric_All_KeepsSignAndFirstPoint", &clsTextBox::Numeric_All, "-1.2.3", 6, "-1.23", 5},
    {"Numeric_All_DropsAnInnerSign", &clsTextBox::Numeric_All, "1-.5", 4, "1.5", 3},
    {"Integer_Neg_EmptyGetsTheSign", &clsTextBox::Integer_Neg, "", 0, "-", 1},
    {"Integer_Neg_AddsTheSign", &clsTextBox::Integer_Neg, "5", 1, "-5", 2},
    {"Integer_Neg_KeepsTheSign", &clsTextBox::Integer_Neg, "-5", 2, "-5", 2},
    {"Integer_Neg_DropsALetter", &clsTextBox::Integer_Neg, "-5a", 3, "-5", 2},
    {"Integer_Neg_SignDeletedComesBack", &clsTextBox::Integer_Neg, "12", 0, "-12",
     1}, // the sign deleted comes back
    {"Integer_Neg_MovesAnInnerSign", &clsTextBox::Integer_Neg, "5-5", 3, "-55", 3},
    {"Integer_Neg_DropsThePoint", &clsTextBox::Integer_Neg, "-1.5", 4, "-15", 3},
    {"Integer_Neg_LoneLetter", &clsTextBox::Integer_Neg, "a", 1, "-", 1}, // a lone letter is filtered too
    {"Numeric_Neg_EmptyGetsTheSign", &clsTextBox::Numeric_Neg, "", 0, "-", 1},
    {"Numeric_Neg_AddsTheSignBeforeThePoint", &clsTextBox::Numeric_Neg, "1.", 2, "-1.", 3},
    {"Numeric_Neg_KeepsTheFirstPoint", &clsTextBox::Numeric_Neg, "-1.5.5", 6, "-1.55", 5},
    {"Numeric_Neg_DropsASecondSign", &clsTextBox::Numeric_Neg, "--.", 3, "-.", 2},
    {"Numeric_WithSymbols_DropsLettersKeepsSymbols", &clsTextBox::Numeric_WithSymbols, "Aç%1z", 5, "ç%1", 3},
    {"Numeric_WithSymbols_KeepsTheSpace", &clsTextBox::Numeric_WithSymbols, "a b", 3, " ", 1},
    {"Alpha_All_DropsDigits", &clsTextBox::Alpha_All, "a1b 2", 5, "ab ", 3},
    {"Alpha_All_KeepsSpaces", &clsTextBox::Alpha_All, "ç  9", 4, "ç  ", 3},
    {"AlphaNumeric_NoSymbols_DropsSpacesAndSymbols", &clsTextBox::AlphaNumeric_NoSymbols, "a1 ç-B", 6, "a1B",
     3},
    {"Alpha_NoSymbols_DropsTurkishLetterAndSpace", &clsTextBox::Alpha_NoSymbols, "aç b", 4, "ab", 2},
    {"Alpha_NoSymbols_DropsADigit", &clsTextBox::Alpha_NoSymbols, "x1y", 2, "xy", 1},
    {"CaseUpper_TurkishI", &clsTextBox::CaseUpper, "istanbul ılık", 5, "İSTANBUL ILIK", 5},
    {"CaseUpper_KeepsSpaces", &clsTextBox::CaseUpper, "a   b", 5, "A   B", 5},
    {"CaseLower_TurkishI", &clsTextBox::CaseLower, "IŞIK İZMİR", 2, "ışık izmir", 2},
    {"CaseProper_TurkishI", &clsTextBox::CaseProper, "ılık istanbul", 3, "Ilık İstanbul", 3},
    {"CaseProper_Apostrophe", &clsTextBox::CaseProper, "o'neil", 6, "O'Neil", 6},
    // Characters beyond the basic plane count once, like any other character.
    {"Integer_Pos_BeyondTheBasicPlane", &clsTextBox::Integer_Pos,
     "1\U0001F600"
     "2",
     2, "12", 1},
    {"Numeric_WithSymbols_BeyondTheBasicPlane", &clsTextBox::Numeric_WithSymbols, "\U0001F600a", 2,
     "\U0001F600", 1},
};

class FilterRows : public ::testing::TestWithParam<FilterRow> {};

TEST_P(FilterRows, GivesItsTextAndCaret)
{
    const FilterRow& row = GetParam();
    clsTextBox behaviour;
    FakeTextBox box(QString::fromUtf8(row.text), row.caret);
    (behaviour.*row.operation)(box);
    EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
    EXPECT_EQ(box.selStart, row.expectedCaret);
    EXPECT_GE(box.minCaretWritten, 0);
    EXPECT_FALSE(behaviour.busy());
}

INSTANTIATE_TEST_SUITE_P(Filters, FilterRows, ::testing::ValuesIn(kFilterRows),
                         [](const auto& info) { return std::string(info.param.name); });

// With remove extra spaces set, a space after a space is dropped and the caret moves back.
const FilterRow kSpacesRows[] = {
    {"Alpha_All_TwoSpaces", &clsTextBox::Alpha_All, "a  b", 3, "a b", 2},
    // A digit becomes the remembered character too, so the space after it survives.
    {"Alpha_All_SpaceAfterADigit", &clsTextBox::Alpha_All, "a 1  b", 6, "a  b", 4},
    {"CaseUpper_ThreeSpaces", &clsTextBox::CaseUpper, "a   b", 5, "A B", 3},
    {"CaseLower_ThreeSpaces", &clsTextBox::CaseLower, "I   I", 5, "ı ı", 3},
    {"CaseProper_ThreeSpaces", &clsTextBox::CaseProper, "a   b", 5, "A B", 3},
    {"CaseProper_CaretBeforeTheRun", &clsTextBox::CaseProper, "a   b", 1, "A B", 1},
};

class RemoveExtraSpacesRows : public ::testing::TestWithParam<FilterRow> {};

TEST_P(RemoveExtraSpacesRows, ShrinkRuns)
{
    const FilterRow& row = GetParam();
    clsTextBox behaviour;
    behaviour.pRemoveExtraSpaces(true);
    FakeTextBox box(QString::fromUtf8(row.text), row.caret);
    (behaviour.*row.operation)(box);
    EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
    EXPECT_EQ(box.selStart, row.expectedCaret);
}

INSTANTIATE_TEST_SUITE_P(Filters, RemoveExtraSpacesRows, ::testing::ValuesIn(kSpacesRows),
                         [](const auto& info) { return std::string(info.param.name); });

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
    const char* name;
    const char* input;
    const char* expected;
    bool removeExtraSpaces;
};

const ProperRow kProperRows[] = {
    {"McPrefix", "mcdonald", "McDonald", false},
    {"Apostrophe", "o'neil", "O'Neil", false},
    {"Hyphen", "jean-paul", "Jean-Paul", false},
    {"OtherSeparators", "a.b/c&d", "A.B/C&D", false},
    {"TurkishI", "ılık istanbul", "Ilık İstanbul", false},
    {"AllCapitals", "HELLO WORLD", "Hello World", false},
    {"Empty", "", "", false},
    {"SeparatorAtTheEnd", "end.", "End.", false}, // a separator at the end changes nothing
    {"LeadingSpaces", "  x", "  X", false},
    {"McInTheSecondWord", "ab mcx", "Ab McX", false},
    {"McOnlyAfterACapital", "xmcdonald", "Xmcdonald", false}, // "Mc" only where the M became a capital
    {"ApostropheAndHyphen", "ann o'brien-smith", "Ann O'Brien-Smith", false},
    {"SpacesKept", "a   b  c", "A   B  C", false},
    {"SpacesShrunk", "a   b  c", "A B C", true},
    {"OuterSpacesShrunk", " a  ", " A ", true}, // leading and trailing spaces stay, shrunk to one
    {"TurkishLetters", "çiğdem şahin", "Çiğdem Şahin", false},
};

class ProperCaseStringRows : public ::testing::TestWithParam<ProperRow> {};

TEST_P(ProperCaseStringRows, GivesItsText)
{
    const ProperRow& row = GetParam();
    clsTextBox behaviour;
    behaviour.pRemoveExtraSpaces(row.removeExtraSpaces);
    EXPECT_EQ(behaviour.ProperCaseString(QString::fromUtf8(row.input)), QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Filters, ProperCaseStringRows, ::testing::ValuesIn(kProperRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct FixedDecRow {
    const char* name;
    const char* text;
    int caret;
    int16_t decPlaces;
    bool showTrailingZero;
    bool allowNegative;
    const char* expectedText;
    int expectedCaret;
};

const FixedDecRow kFixedDecRows[] = {
    {"LeadingZeros", "007", 3, 2, false, false, "7", 1},
    {"CutToTwoPlaces", "1.234", 5, 2, false, false, "1.23", 4},
    {"TrailingZeroAdded", "1.2", 3, 2, true, false, "1.20", 3},
    {"NoPointNoZeros", "5", 1, 2, true, false, "5", 1},
    {"PointGetsZeros", "5.", 2, 2, true, false, "5.00", 2},
    {"NoPlacesDropsThePoint", "1.5", 3, 0, false, false, "15", 2},
    {"SignRefused", "-5", 2, 2, false, false, "5", 1},
    {"SignAllowed", "-5", 2, 2, false, true, "-5", 2},
    {"TrailingSignDropped", "5-", 2, 2, false, true, "5", 1}, // only a leading "-" is a sign
    {"ZerosAfterASign", "-007", 4, 0, false, true, "-007", 4},
    {"OnlyZeros", "00", 2, 0, false, false, "00", 2},
    {"ZeroBeforeThePoint", "0.5", 3, 2, false, false, "0.5", 3},
    {"LeadingPoint", ".5", 2, 2, false, false, ".5", 2},
    {"SecondPointDropped", "1.2.3", 5, 2, false, false, "1.23", 4},
    {"LetterDropped", "12a", 3, 2, false, false, "12", 2},
    {"CaretNotCorrected", "1a2", 2, 2, false, false, "12",
     2}, // the caret is not corrected for dropped characters
    // Leading zeros removed before the caret would put it before the start: it stays at 0.
    {"CaretStaysAtTheStart", "007", 0, 0, false, false, "7", 0},
    // Integer parts beyond what a floating-point number holds stay exact.
    {"BeyondADouble", "0012345678901234567890", 22, 0, false, false, "12345678901234567890", 20},
};

class NumericFixedDecRows : public ::testing::TestWithParam<FixedDecRow> {};

TEST_P(NumericFixedDecRows, GivesItsTextAndCaret)
{
    const FixedDecRow& row = GetParam();
    clsTextBox behaviour;
    FakeTextBox box(QString::fromUtf8(row.text), row.caret);
    behaviour.Numeric_FixedDec(box, row.decPlaces, row.showTrailingZero, row.allowNegative);
    EXPECT_EQ(box.text, QString::fromUtf8(row.expectedText));
    EXPECT_EQ(box.selStart, row.expectedCaret);
    EXPECT_GE(box.minCaretWritten, 0);
}

INSTANTIATE_TEST_SUITE_P(Filters, NumericFixedDecRows, ::testing::ValuesIn(kFixedDecRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(clsTextBoxFilters, NumericFixedDecLeavesAnEmptyBoxAlone)
{
    clsTextBox behaviour;
    FakeTextBox box(QString(), 0);
    behaviour.Numeric_FixedDec(box, 2, true, true);
    EXPECT_EQ(box.textWrites, 0);
}

} // namespace
} // namespace ktv
