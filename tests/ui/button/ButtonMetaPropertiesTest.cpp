// The button's public properties as tools find them through metaObject(): their names in order,
// the enumerated ones with their keys, and writes that go through the setters with their side
// effects and change notifications.
#include "ButtonTestSupport.h"

#include <QMetaEnum>
#include <QMetaProperty>

using namespace ktv;
using namespace ktv::test;

class ButtonMetaProperties : public DesignerForm {};

TEST_F(ButtonMetaProperties, ThePublicPropertiesAreListedInTheirOrder)
{
    const QMetaObject& meta = qvButtons_H::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    EXPECT_EQ(names, (QStringList{"ButtonStyle", "Mode", "Caption", "CaptionAlign", "CaptionStyle", "CustomClick",
                                  "ButtonShape", "Picture", "PictureAlign", "Enabled", "ShowFocusRect", "Value",
                                  "PictureSize", "MousePointer", "MouseIcon", "Font", "FontStyle", "ForeColor",
                                  "BackColor", "GradientColor", "GradientMode", "ResetDefaultColors",
                                  "HoverColorLocks", "HoverForeColor", "HoverBackColor"}));
}

struct EnumRow {
    const char* property;
    int keys;
    const char* keyOfTwo;
};

const EnumRow kEnumRows[] = {
    {"ButtonStyle", 8, "Rounded"},      {"Mode", 3, "Option"},        {"CaptionAlign", 3, "Center"},
    {"CaptionStyle", 3, "Engraved"},    {"ButtonShape", 9, "SlantRight"}, {"PictureAlign", 6, "RightEdge"},
    {"GradientMode", 5, "RightToLeft"},
};

class ButtonMetaEnum : public DesignerForm, public ::testing::WithParamInterface<EnumRow> {};

TEST_P(ButtonMetaEnum, EnumeratedPropertiesCarryTheirKeysAndTheirStoredNumbers)
{
    const EnumRow& row = GetParam();
    const QMetaObject& meta = qvButtons_H::staticMetaObject;
    const QMetaProperty property = meta.property(meta.indexOfProperty(row.property));
    ASSERT_TRUE(property.isValid());
    ASSERT_TRUE(property.isEnumType());
    const QMetaEnum keys = property.enumerator();
    EXPECT_EQ(keys.keyCount(), row.keys);
    EXPECT_STREQ(keys.valueToKey(2), row.keyOfTwo);

    auto* b = place();
    host.clearRecords();
    ASSERT_TRUE(b->setProperty(row.property, QString::fromLatin1(row.keyOfTwo)));
    EXPECT_EQ(b->property(row.property).toInt(), 2);
    EXPECT_FALSE(host.changesOf(b).isEmpty()) << "a write goes through the setter and tells the host";
}

INSTANTIATE_TEST_SUITE_P(Properties, ButtonMetaEnum, ::testing::ValuesIn(kEnumRows),
                         [](const auto& info) { return std::string(info.param.property); });

TEST_F(ButtonMetaProperties, AWriteThroughTheMetaObjectHasTheSettersEffects)
{
    auto* b = place();
    host.clearRecords();
    ASSERT_TRUE(b->setProperty("ButtonStyle", 5));
    EXPECT_EQ(b->ButtonStyle(), 5);
    EXPECT_EQ(host.changesOf(b), QStringList{"BackStyle"});
    ASSERT_TRUE(b->setProperty("Caption", QStringLiteral("K&apat")));
    EXPECT_EQ(host.accessKeys(b), QStringLiteral("a"));
    // The stored form keeps the whole number.
    EXPECT_EQ(host.save(*b).ReadProperty(QStringLiteral("BackStyle"), 0).toInt(), 5);
}
