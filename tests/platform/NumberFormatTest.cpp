// Which texts read as numbers, in the dot-decimal and the comma-decimal formats.
#include "platform/core/NumberFormat.h"
#include "platform/core/TextCodec.h"

#include <gtest/gtest.h>

using namespace ktv;

TEST(NumberFormat, NumericTextFollowsTheUsersFormat)
{
    const NumberFormat us{'.', ','};
    const NumberFormat tr{',', '.'};
    struct Case {
        const char* text;
        bool us;
        bool tr;
    } cases[] = {
        {"12", true, true},       {"-12", true, true},     {"+3", true, true},
        {"2.5", true, true},      // in Turkish "2.5" is 25 with a group separator
        {"2,5", true, true},      {"1.234,5", false, true}, {"1,234.5", true, false},
        {"1e3", true, true},      {"1.5E-2", true, true}, // "1.5" groups in Turkish  {"12a", false, false},
        {"", false, false},       {".", false, false},      {"-", false, false},
        {"1e", false, false},     {"2.5.1", false, true},   {"abc", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isNumericText(c.text, us), c.us) << c.text;
        EXPECT_EQ(isNumericText(c.text, tr), c.tr) << c.text;
    }
    EXPECT_DOUBLE_EQ(*parseNumber("2,5", tr), 2.5);
    EXPECT_DOUBLE_EQ(*parseNumber("1.234,5", tr), 1234.5);
    EXPECT_DOUBLE_EQ(*parseNumber("2,5", us), 25);
}

TEST(NumberFormat, LocaleNamesPickTheFormat)
{
    EXPECT_EQ(NumberFormat::fromLocaleName("tr_TR.UTF-8").decimal, ',');
    EXPECT_EQ(NumberFormat::fromLocaleName("de_DE@euro").group, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("fr_FR.UTF-8").group, ' ');
    EXPECT_EQ(NumberFormat::fromLocaleName("en_US.UTF-8").decimal, '.');
    EXPECT_EQ(NumberFormat::fromLocaleName("C").decimal, '.');
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
