// The button's public properties as tools find them through metaObject(): their names in order,
// the enumerated ones with their keys, and writes that go through the setters with their side
// effects and change notifications.
#include "ButtonTestSupport.h"

#include <QMetaEnum>
#include <QMetaProperty>

#include <algorithm>

using namespace ktv;
using namespace ktv::test;

class ButtonMetaProperties : public DesignerForm {};

TEST_F(ButtonMetaProperties, ThePublicPropertiesAreListedInTheirOrder)
{
    const QMetaObject& meta = qvButtons_H::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    EXPECT_EQ(names, (QStringList{"ButtonStyle",     "Mode",
                                  "Caption",         "CaptionAlign",
                                  "CaptionStyle",    "CustomClick",
                                  "ButtonShape",     "Picture",
                                  "PictureAlign",    "Enabled",
                                  "ShowFocusRect",   "Value",
                                  "PictureSize",     "MousePointer",
                                  "MouseIcon",       "Font",
                                  "FontStyle",       "ForeColor",
                                  "BackColor",       "GradientColor",
                                  "GradientMode",    "ResetDefaultColors",
                                  "HoverColorLocks", "HoverForeColor",
                                  "HoverBackColor"}));
}

struct EnumRow {
    const char* property;
    int keys;
    const char* keyOfTwo;
};

const EnumRow kEnumRows[] = {
    {"ButtonStyle", 8, "Rounded"},      {"Mode", 3, "Option"},
    {"CaptionAlign", 3, "Center"},      {"CaptionStyle", 3, "Engraved"},
    {"ButtonShape", 9, "SlantRight"},   {"PictureAlign", 6, "RightEdge"},
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

// Every property the meta-object declares, written and read back through it: each key of an
// enumerated property, both states of a flag, colours in both encodings, a text, a font and
// pictures; values outside a setter's range are refused and the property keeps its value.
namespace {

QImage square(QRgb colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The whole-number properties that are no enumeration: what their setters take and refuse.
struct IntRange {
    const char* property;
    QList<int> taken;
    QList<int> refused;
};

const IntRange kIntRanges[] = {
    {"CustomClick", {0, 1, 4, 8}, {-1, 9}},
    {"PictureSize", {0, 1, 2, 3, 4}, {-1, 5}},
    {"MousePointer", {0, 1, 15, 99}, {-1, 16, 98, 100}},
    {"FontStyle", {0, 2, 4, 8, 14}, {}},   // other bits are ignored, not refused
    {"HoverColorLocks", {0, 1, 2, 3}, {}}, // stored without a range test
};

class EveryButtonProperty : public DesignerForm, public ::testing::WithParamInterface<int> {
protected:
    QMetaProperty property() const { return qvButtons_H::staticMetaObject.property(GetParam()); }
    // Writes through the meta-object and reads back.
    QVariant roundTrip(qvButtons_H& b, const QVariant& value) const
    {
        const QMetaProperty p = property();
        EXPECT_TRUE(p.write(&b, value)) << p.name();
        return p.read(&b);
    }
};

TEST_P(EveryButtonProperty, ReadsBackWhatIsWritten)
{
    const QMetaProperty p = property();
    ASSERT_TRUE(p.isReadable() && p.isWritable()) << p.name();
    const QByteArray name = p.name();
    auto* b = place();
    if (name == "ButtonShape")
        b->setPicture(ButtonPicture::bitmap(square(qRgb(0, 0, 200)))); // custom shapes need a bitmap
    if (name == "Value")
        b->setMode(qvButtons_H::ModeCheck); // a push button refuses true

    if (p.isEnumType()) {
        const QMetaEnum keys = p.enumerator();
        int highest = 0;
        for (int k = 0; k < keys.keyCount(); ++k) {
            EXPECT_EQ(roundTrip(*b, keys.value(k)).toInt(), keys.value(k))
                << name.constData() << " " << keys.key(k);
            highest = std::max(highest, keys.value(k));
        }
        const int before = p.read(b).toInt();
        for (const int outside : {-1, highest + 1}) {
            p.write(b, outside);
            EXPECT_EQ(p.read(b).toInt(), before) << name.constData() << " took " << outside;
        }
        return;
    }
    switch (p.metaType().id()) {
    case QMetaType::Int: {
        const auto range = std::find_if(std::begin(kIntRanges), std::end(kIntRanges),
                                        [&](const IntRange& r) { return name == r.property; });
        ASSERT_NE(range, std::end(kIntRanges)) << name.constData() << ": no range to try";
        for (const int v : range->taken)
            EXPECT_EQ(roundTrip(*b, v).toInt(), v) << name.constData();
        const int before = p.read(b).toInt();
        for (const int v : range->refused) {
            p.write(b, v);
            EXPECT_EQ(p.read(b).toInt(), before) << name.constData() << " took " << v;
        }
        break;
    }
    case QMetaType::UInt:
        for (const uint colour : {0x123456u, 0x80000012u, 0u})
            EXPECT_EQ(roundTrip(*b, colour).toUInt(), colour) << name.constData();
        break;
    case QMetaType::Bool:
        if (name == "ResetDefaultColors") { // a command: it acts and reads false again
            EXPECT_FALSE(roundTrip(*b, true).toBool());
            break;
        }
        EXPECT_FALSE(roundTrip(*b, false).toBool()) << name.constData();
        EXPECT_TRUE(roundTrip(*b, true).toBool()) << name.constData();
        EXPECT_FALSE(roundTrip(*b, false).toBool()) << name.constData();
        break;
    case QMetaType::QString:
        EXPECT_EQ(roundTrip(*b, QStringLiteral("Çevrim &Yap")).toString(), QStringLiteral("Çevrim &Yap"));
        break;
    case QMetaType::QFont: {
        QFont font(QStringLiteral("DejaVu Sans"), 13);
        font.setItalic(true);
        EXPECT_EQ(roundTrip(*b, font).value<QFont>(), font);
        break;
    }
    default:
        if (p.metaType() == QMetaType::fromType<ButtonPicture>()) {
            const ButtonPicture icon = ButtonPicture::iconPicture(square(qRgb(200, 0, 0)));
            const ButtonPicture bitmap = ButtonPicture::bitmap(square(qRgb(0, 200, 0)));
            EXPECT_EQ(roundTrip(*b, QVariant::fromValue(icon)).value<ButtonPicture>(), icon)
                << name.constData();
            if (name == "MouseIcon") { // the window takes only icons and cursors as its pointer
                p.write(b, QVariant::fromValue(bitmap));
                EXPECT_EQ(p.read(b).value<ButtonPicture>(), icon);
            } else {
                EXPECT_EQ(roundTrip(*b, QVariant::fromValue(bitmap)).value<ButtonPicture>(), bitmap);
            }
            EXPECT_TRUE(roundTrip(*b, QVariant::fromValue(ButtonPicture())).value<ButtonPicture>().isNone());
            break;
        }
        ADD_FAILURE() << name.constData() << ": no values to try for the type " << p.typeName();
    }
}

INSTANTIATE_TEST_SUITE_P(MetaObject, EveryButtonProperty,
                         ::testing::Range(qvButtons_H::staticMetaObject.propertyOffset(),
                                          qvButtons_H::staticMetaObject.propertyCount()),
                         [](const auto& info) {
                             return std::string(qvButtons_H::staticMetaObject.property(info.param).name());
                         });

} // namespace
