// The gallery's button page: every drawn property value enabled and disabled, separate option
// groups, painting in every style, and run-time pictures with the transparency the button expects.
#include "ui/controls/button/qvButtons_H.h"
#include "ui/gallery/ButtonPage.h"
#include "ui/gallery/ButtonPictures.h"
#include "ui/gallery/PropertyList.h"

#include <QApplication>
#include <QMetaProperty>
#include <QSet>
#include <gtest/gtest.h>
#include <tuple>

namespace ktv {
namespace {

qvButtons_H* find(const ButtonPage& page, const QString& name)
{
    for (qvButtons_H* b : page.buttons())
        if (b->objectName() == name)
            return b;
    ADD_FAILURE() << "no button " << name.toStdString();
    return nullptr;
}

struct OfferedProperty {
    const char* name;
    int (*get)(const qvButtons_H&);
    int count;
};

const OfferedProperty kOffered[] = {
    {"ButtonStyle", [](const qvButtons_H& b) { return b.ButtonStyle(); }, 8},
    {"Mode", [](const qvButtons_H& b) { return b.Mode(); }, 3},
    {"ButtonShape", [](const qvButtons_H& b) { return b.ButtonShape(); }, 9},
    {"CaptionStyle", [](const qvButtons_H& b) { return b.CaptionStyle(); }, 3},
    {"CaptionAlign", [](const qvButtons_H& b) { return b.CaptionAlign(); }, 3},
    {"GradientMode", [](const qvButtons_H& b) { return b.GradientMode(); }, 5},
    {"PictureAlign", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : b.PictureAlign(); }, 6},
    {"PictureSize", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : b.PictureSize(); }, 5},
    {"IconPicture", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : int(b.Picture().icon); },
     2},
};

class GalleryOffers : public ::testing::TestWithParam<OfferedProperty> {};

TEST_P(GalleryOffers, EveryValueOfTheProperty)
{
    ButtonPage page;
    const OfferedProperty& property = GetParam();
    QSet<int> seen;
    for (const qvButtons_H* b : page.buttons())
        seen.insert(property.get(*b));
    for (int v = 0; v < property.count; ++v)
        EXPECT_TRUE(seen.contains(v)) << "value " << v << " missing";
}

INSTANTIATE_TEST_SUITE_P(GalleryButtonPage, GalleryOffers, ::testing::ValuesIn(kOffered),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GalleryButtonPage, OffersCustomShapesAndDisabledButtons)
{
    ButtonPage page;
    // Custom shapes were accepted (they need a bitmap) and took the large picture size.
    for (const char* name : {"Cmd_Shape7_0", "Cmd_Shape8_1", "Cmd_Shape8_2"}) {
        const qvButtons_H* b = find(page, QString::fromLatin1(name));
        ASSERT_NE(b, nullptr);
        EXPECT_GE(b->ButtonShape(), 7) << name;
        EXPECT_EQ(b->PictureSize(), qvButtons_H::PictureSize48) << name;
    }
    int disabledModes = 0, disabledPictures = 0, disabledGradients = 0;
    for (const qvButtons_H* b : page.buttons()) {
        if (b->Enabled())
            continue;
        disabledModes |= 1 << b->ButtonStyle();
        disabledPictures += !b->Picture().isNone();
        disabledGradients += b->GradientMode() != 0;
    }
    EXPECT_EQ(disabledModes, 0xFF) << "a disabled button in every style";
    EXPECT_GT(disabledPictures, 0);
    EXPECT_GT(disabledGradients, 0);
}

TEST(GalleryButtonPage, OptionGroupsStayApart)
{
    ButtonPage page;
    qvButtons_H* a1 = find(page, QStringLiteral("Opt_A1"));
    qvButtons_H* a2 = find(page, QStringLiteral("Opt_A2"));
    qvButtons_H* b2 = find(page, QStringLiteral("Opt_B2"));
    ASSERT_TRUE(a1 && a2 && b2);
    ASSERT_TRUE(a1->Value());
    ASSERT_TRUE(b2->Value());
    a2->setValue(true);
    EXPECT_FALSE(a1->Value());
    EXPECT_TRUE(b2->Value()) << "group B is another container";
}

// Buttons named Cmd_Style<s>_... form the style table and keep their own style s.
QList<qvButtons_H*> styleTable(const ButtonPage& page)
{
    QList<qvButtons_H*> list;
    for (qvButtons_H* b : page.buttons())
        if (b->objectName().startsWith(QLatin1String("Cmd_Style")))
            list << b;
    return list;
}

class GalleryStyles : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(GalleryStyles, PaintEveryButton)
{
    const auto [style, enabled] = GetParam();
    ButtonPage page;
    page.resize(page.sizeHint());
    page.show();
    QApplication::processEvents();
    const QList<qvButtons_H*> fixed = styleTable(page);
    page.applyStyle(style);
    page.applyEnabled(enabled);
    for (qvButtons_H* b : page.buttons()) {
        if (fixed.contains(b))
            continue;
        EXPECT_EQ(b->ButtonStyle(), style) << b->objectName().toStdString();
        b->Refresh();
        EXPECT_EQ(b->surface().size(), b->size()) << b->objectName().toStdString();
    }
    // The style table keeps its own styles: column s is style s.
    for (const qvButtons_H* b : fixed)
        EXPECT_EQ(b->ButtonStyle(), b->objectName().mid(9, 1).toInt()) << b->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(GalleryButtonPage, GalleryStyles,
                         ::testing::Combine(::testing::Range(0, 8), ::testing::Bool()), [](const auto& info) {
                             return "Style" + std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "_Enabled" : "_Disabled");
                         });

struct KeyedBitmap {
    const char* name;
    QImage (*make)();
};

const KeyedBitmap kKeyedBitmaps[] = {
    {"Disc16", [] { return gallery::keyedDiscBitmap(16); }},
    {"Disc32", [] { return gallery::keyedDiscBitmap(32); }},
    {"Arrow", [] { return gallery::arrowShapeBitmap(94, 36); }},
    {"Tab", [] { return gallery::tabShapeBitmap(94, 36); }},
};

class GalleryKeyedBitmaps : public ::testing::TestWithParam<KeyedBitmap> {};

TEST_P(GalleryKeyedBitmaps, HaveNoPinkFringe)
{
    // Pixels within 3 of the key vanish; anything pink beyond that would show as a fringe.
    auto nearKeyButNotKey = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const bool key = c.rgb() == gallery::kMagentaKey;
                const bool pinkish = c.red() > 150 && c.blue() > 150 && c.green() < 100;
                count += !key && pinkish;
            }
        return count;
    };
    const QImage image = GetParam().make();
    EXPECT_EQ(image.pixel(0, 0), gallery::kMagentaKey);
    EXPECT_NE(image.pixel(image.width() / 2, image.height() / 2), gallery::kMagentaKey);
    EXPECT_EQ(nearKeyButNotKey(image), 0);
}

INSTANTIATE_TEST_SUITE_P(GalleryButtonPictures, GalleryKeyedBitmaps, ::testing::ValuesIn(kKeyedBitmaps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GalleryButtonPictures, StarIconIsTransparentAroundItsOpaqueMiddle)
{
    const QImage star = gallery::starIcon(48);
    EXPECT_EQ(qAlpha(star.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(star.pixel(24, 26)), 255);
}

// The page lists the clicked button's properties from its meta-object: one row per declared
// property in its order, its type, and its value as it is now, enumerations by their keys.
TEST(GalleryButtonPage, ListsTheClickedButtonsPropertiesFromItsMetaObject)
{
    ButtonPage page;
    page.resize(page.sizeHint());
    page.show();
    QApplication::processEvents();
    qvButtons_H* b = find(page, QStringLiteral("Opt_A2"));
    ASSERT_NE(b, nullptr);
    b->setGradientColor(0x00FF00);
    emit b->Click();
    PropertyList* list = page.properties();
    ASSERT_EQ(list->object(), b);

    const QMetaObject& meta = qvButtons_H::staticMetaObject;
    ASSERT_EQ(list->rowCount(), meta.propertyCount() - meta.propertyOffset());
    auto cell = [&](const char* property, int column) {
        const int row = meta.indexOfProperty(property) - meta.propertyOffset();
        return list->item(row, column)->text();
    };
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        EXPECT_EQ(list->item(i - meta.propertyOffset(), 0)->text(),
                  QString::fromLatin1(meta.property(i).name()));
    EXPECT_EQ(cell("Mode", 1), QStringLiteral("ktv::button::Mode"));
    EXPECT_EQ(cell("Mode", 2), QStringLiteral("Option (2)"));
    EXPECT_EQ(cell("Caption", 1), QStringLiteral("QString"));
    EXPECT_EQ(cell("Caption", 2), b->Caption());
    EXPECT_EQ(cell("GradientColor", 2), QStringLiteral("0x0000ff00"));
    EXPECT_EQ(cell("Value", 2), b->Value() ? QStringLiteral("true") : QStringLiteral("false"));

    // A change of the page's choice shows in the list at once.
    page.applyStyle(6);
    EXPECT_EQ(cell("ButtonStyle", 2), QStringLiteral("SoftDoubleRing (6)"));
}

TEST(GalleryPropertyList, ShowsPicturesByKindAndSizeAndNothingForNoObject)
{
    qvButtons_H b;
    b.setPicture(ButtonPicture::iconPicture(gallery::starIcon(48)));
    PropertyList list;
    list.showObject(&b);
    const QMetaObject& meta = qvButtons_H::staticMetaObject;
    const auto value = [&](const char* property) {
        return list.item(meta.indexOfProperty(property) - meta.propertyOffset(), 2)->text();
    };
    EXPECT_EQ(value("Picture"), QStringLiteral("simge 48 × 48"));
    EXPECT_EQ(value("MouseIcon"), QStringLiteral("(yok)"));
    list.showObject(nullptr);
    EXPECT_EQ(list.rowCount(), 0);
}

} // namespace
} // namespace ktv
