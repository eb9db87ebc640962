// Turkish case mapping: the dotted and dotless i, the other Turkish letters, and that nothing else moves.
#include "ui/controls/textbox/TurkishCase.h"

#include <gtest/gtest.h>

namespace ktv {
namespace {

struct CaseRow {
    const char* name;
    const char* input;
    const char* upper;
    const char* lower;
};

const CaseRow kRows[] = {
    {"DottedSmallI", "istanbul", "İSTANBUL", "istanbul"},
    {"DotlessSmallI", "ılık", "ILIK", "ılık"},
    {"DotlessCapitalI", "IŞIK", "IŞIK", "ışık"},
    {"DottedCapitalI", "İZMİR", "İZMİR", "izmir"},
    {"TurkishSmallLetters", "çğöşü", "ÇĞÖŞÜ", "çğöşü"},
    {"TurkishCapitalLetters", "ÇĞÖŞÜ", "ÇĞÖŞÜ", "çğöşü"},
    {"AsciiLetters", "Hello World", "HELLO WORLD", "hello world"},
    {"Empty", "", "", ""},
    {"DigitsAndPunctuation", "12 - 3.4, (x)!", "12 - 3.4, (X)!", "12 - 3.4, (x)!"},
    {"SharpSKeepsItsLength", "straße", "STRAßE",
     "straße"}, // the general conversion keeps the length: no "SS"
    {"MixedTurkishWords", "Ağrı Dağı", "AĞRI DAĞI", "ağrı dağı"},
    {"OtherAccentedLetters", "éà", "ÉÀ", "éà"},
    {"LetterBeyondTheBasicPlane", "\U00010428x", "\U00010400X",
     "\U00010428x"}, // a letter outside the basic plane
};

class TurkishCaseRows : public ::testing::TestWithParam<CaseRow> {};

TEST_P(TurkishCaseRows, ConvertsBothWaysInPlace)
{
    const CaseRow& row = GetParam();
    QString up = QString::fromUtf8(row.input);
    const QString upResult = TurkishUpper(up);
    EXPECT_EQ(upResult, QString::fromUtf8(row.upper));
    EXPECT_EQ(up, upResult); // the argument holds the result too
    EXPECT_EQ(up.size(), QString::fromUtf8(row.input).size());

    QString down = QString::fromUtf8(row.input);
    EXPECT_EQ(TurkishLower(down), QString::fromUtf8(row.lower));
    EXPECT_EQ(down, QString::fromUtf8(row.lower));
}

INSTANTIATE_TEST_SUITE_P(Texts, TurkishCaseRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TurkishCase, UpperThenLowerRoundTripsTurkishLetters)
{
    QString text = QString::fromUtf8("çğıiöşü");
    TurkishUpper(text);
    EXPECT_EQ(text, QString::fromUtf8("ÇĞIİÖŞÜ"));
    TurkishLower(text);
    EXPECT_EQ(text, QString::fromUtf8("çğıiöşü"));
}

} // namespace
} // namespace ktv
