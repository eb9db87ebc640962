// Which texts read as numbers, in the dot-decimal and the comma-decimal formats.
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ktv;

const NumberFormat kUs{'.', ','};
const NumberFormat kTr{',', '.'};

struct NumericRow {
    const char* name;
    const char* text;
    bool us;
    bool tr;
};

const NumericRow kNumericRows[] = {
    {"Whole", "12", true, true},
    {"Negative", "-12", true, true},
    {"Signed", "+3", true, true},
    {"DotDecimal", "2.5", true, true}, // in Turkish "2.5" is 25 with a group separator
    {"CommaDecimal", "2,5", true, true},
    {"TurkishGrouped", "1.234,5", false, true},
    {"UsGrouped", "1,234.5", true, false},
    {"Exponent", "1e3", true, true},
    {"NegativeExponent", "1.5E-2", true, true}, // "1.5" groups in Turkish
    {"TrailingLetter", "12a", false, false},
    {"Empty", "", false, false},
    {"OnlyAPoint", ".", false, false},
    {"OnlyASign", "-", false, false},
    {"ExponentWithoutDigits", "1e", false, false},
    {"TwoPoints", "2.5.1", false, true},
    {"Letters", "abc", false, false},
};

class NumericText : public ::testing::TestWithParam<NumericRow> {};

TEST_P(NumericText, FollowsTheUsersFormat)
{
    const NumericRow& c = GetParam();
    EXPECT_EQ(isNumericText(c.text, kUs), c.us) << c.text;
    EXPECT_EQ(isNumericText(c.text, kTr), c.tr) << c.text;
}

INSTANTIATE_TEST_SUITE_P(NumberFormat, NumericText, ::testing::ValuesIn(kNumericRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NumberFormat, ParsedNumbersFollowTheUsersFormat)
{
    EXPECT_DOUBLE_EQ(*parseNumber("2,5", kTr), 2.5);
    EXPECT_DOUBLE_EQ(*parseNumber("1.234,5", kTr), 1234.5);
    EXPECT_DOUBLE_EQ(*parseNumber("2,5", kUs), 25);
}

TEST(NumberFormat, LocaleNamesPickTheFormat)
{
    EXPECT_EQ(NumberFormat::fromLocaleName("tr_TR.UTF-8").decimal, ',');
    EXPECT_EQ(NumberFormat::fromLocaleName("de_DE@euro").group, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("fr_FR.UTF-8").group, ' ');
    EXPECT_EQ(NumberFormat::fromLocaleName("en_US.UTF-8").decimal, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("C").decimal, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("C.UTF-8").group, ',');
    // Regions the language alone does not decide, from the table when not installed.
    EXPECT_EQ(NumberFormat::fromLocaleName("de_CH").decimal, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("es_MX").decimal, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("es_ES").decimal, ',');
    EXPECT_TRUE(NumberFormat::isLocaleName("sr_RS@latin"));
    EXPECT_TRUE(NumberFormat::isLocaleName("es_419.UTF-8"));
    EXPECT_FALSE(NumberFormat::isLocaleName("tr-TR"));
    EXPECT_FALSE(NumberFormat::isLocaleName(""));
    EXPECT_FALSE(NumberFormat::isLocaleName("../tr_TR"));
}

// An installed locale says what it writes, whatever its language would suggest: de_KT, a
// German locale of a region no table knows, writes 1’234.5 as the Swiss do.
TEST(NumberFormat, AnInstalledLocaleGivesItsOwnSeparators)
{
    const test::NumericLocale installed("de_KT.UTF-8");
    const NumberFormat format = NumberFormat::fromLocaleName("de_KT.UTF-8");
    EXPECT_EQ(format.decimal, '.');
    EXPECT_EQ(format.group, '\'');
}

// The window toolkit sets the C library's numeric locale from the environment; reading a
// number must not change with it.
TEST(NumberFormat, NumbersReadTheSameUnderAnyCLocale)
{
    const test::NumericLocale turkish("tr_TR.UTF-8");
    EXPECT_DOUBLE_EQ(*parseNumber("3.5", kUs), 3.5);
    EXPECT_DOUBLE_EQ(*parseNumber("7,5", kTr), 7.5);
    EXPECT_DOUBLE_EQ(*parsePlainNumber("-1.25e2"), -125);
    EXPECT_EQ(*parsePlainNumber("1e999"), HUGE_VAL) << "too large stays infinite, as the columns expect";
}

TEST(TextCodec, CountsAndCutsByCharacters)
{
    EXPECT_EQ(text::charCount("Çalışıyor"), 9u);
    EXPECT_EQ(text::leftChars("Çalışıyor", 3), "Çal");
    EXPECT_EQ(text::leftChars("ab", 10), "ab");
    EXPECT_TRUE(text::isValidUtf8("İğüşöç"));
    EXPECT_FALSE(text::isValidUtf8("\xC7"));
    EXPECT_FALSE(text::isValidUtf8("\xED\xA0\x80")); // a lone surrogate
    EXPECT_EQ(text::cp1254ToUtf8("\xD0\xDD\xDE\xF0\xFD\xFE"), "ĞİŞğış");
}

// The one-pass check a stored text goes through: its characters when it is valid UTF-8
// without NUL, a refusal for anything else, wherever the fault sits.
TEST(TextCodec, CountsOnlyPlainUtf8)
{
    EXPECT_EQ(text::plainUtf8Chars(""), 0u);
    EXPECT_EQ(text::plainUtf8Chars("Çalışıyor"), 9u);
    EXPECT_EQ(text::plainUtf8Chars("a\xF0\x9F\x98\x80"
                                   "b"),
              3u);                                                             // a four-byte character
    EXPECT_EQ(text::plainUtf8Chars("Ankara Çankaya İnönü Bulvarı 12/4"), 33u); // long ASCII runs between
    EXPECT_EQ(text::plainUtf8Chars(std::string(17, 'x') + "ş" + std::string(9, 'y')), 27u);
    // A character outside ASCII at every place of an eight-byte word.
    for (std::size_t k = 0; k < 9; ++k)
        EXPECT_EQ(text::plainUtf8Chars(std::string(k, 'a') + "ı" + std::string(10, 'b') + "ğ"), k + 12) << k;
}

namespace {

struct NotPlainRow {
    const char* name;
    std::string text;
};

void PrintTo(const NotPlainRow& row, std::ostream* os) { *os << row.name; }

const NotPlainRow kNotPlainRows[] = {
    {"LoneLeadByte", std::string("\xC7")},
    {"LeadByteAtTheEnd", std::string("ab\xC7")},
    {"Surrogate", std::string("\xED\xA0\x80")},
    {"NulBetweenLetters", std::string("a\0b", 3)},
    {"LoneNul", std::string("\0", 1)},
    {"OverlongNul", std::string("\xC0\x80")},
    {"BeyondTheLastCodePoint", std::string("\xF4\x90\x80\x80")},
    {"LoneContinuationByte", std::string("\x80")},
    {"NulAfterALongAsciiRun", std::string("abcdefgh\0ijklmnop", 17)},
    {"LeadByteAfterALongAsciiRun", std::string("abcdefghijklmno\xC7")},
    {"NulInsideAWordAfterLetters", std::string("abc\0efghijk", 11)},
    {"LeadByteEndingTheFirstWord", std::string("abcdefg\xC4")},
    {"LeadByteBeforeAnAsciiLetter", std::string("\xC7"
                                                "AK1")}, // Windows-1254 "ÇAK1"
    {"TwoByteLeadBeforeALeadByte", std::string("\xC3\xC3\x87")},
};

class NotPlainUtf8 : public ::testing::TestWithParam<NotPlainRow> {};

} // namespace

TEST_P(NotPlainUtf8, IsRefused)
{
    const std::string& bad = GetParam().text;
    EXPECT_EQ(text::plainUtf8Chars(bad), text::kNotPlainUtf8) << bad.size();
}

INSTANTIATE_TEST_SUITE_P(TextCodec, NotPlainUtf8, ::testing::ValuesIn(kNotPlainRows),
                         [](const auto& info) { return std::string(info.param.name); });
