// Turkish case mapping: the dotted and dotless i, the other Turkish letters, and that nothing else moves.
#include "ui/controls/textbox/TurkishCase.h"

#include <gtest/gtest.h>

namespace ktv {
namespace {

struct CaseRow {
    const char* input;
    const char* upper;
    const char* lower;
};

const CaseRow kRows[] = {
    {"istanbul", "İSTANBUL", "istanbul"},
    {"ılık", "ILIK", "ılık"},
    {"IŞIK", "IŞIK", "ışık"},
    {"İZMİR", "İZMİR", "izmir"},
    {"çğöşü", "ÇĞÖŞÜ", "çğöşü"},
    {"ÇĞÖŞÜ", "ÇĞÖŞÜ", "çğöşü"},
    {"Hello World", "HELLO WORLD", "hello world"},
    {"", "", ""},
    {"12 - 3.4, (x)!", "12 - 3.4, (X)!", "12 - 3.4, (x)!"},
    {"straße", "STRAßE", "straße"}, // the general conversion keeps the length: no "SS"
    {"Ağrı Dağı", "AĞRI DAĞI", "ağrı dağı"},
    {"éà", "ÉÀ", "éà"},
    {"\U00010428x", "\U00010400X", "\U00010428x"}, // a letter outside the basic plane
};

TEST(TurkishCase, ConvertsEveryRowBothWaysInPlace)
{
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.input);
        QString up = QString::fromUtf8(row.input);
        const QString upResult = TurkishUpper(up);
        EXPECT_EQ(upResult, QString::fromUtf8(row.upper));
        EXPECT_EQ(up, upResult); // the argument holds the result too
        EXPECT_EQ(up.size(), QString::fromUtf8(row.input).size());

        QString down = QString::fromUtf8(row.input);
        EXPECT_EQ(TurkishLower(down), QString::fromUtf8(row.lower));
        EXPECT_EQ(down, QString::fromUtf8(row.lower));
    }
}

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
