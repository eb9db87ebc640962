// The gallery's button page: every drawn property value enabled and disabled, separate option
// groups, painting in every style, and run-time pictures with the transparency the button expects.
#include "ui/controls/button/qvButtons_H.h"
#include "ui/gallery/ButtonPage.h"
#include "ui/gallery/ButtonPictures.h"

#include <QApplication>
#include <QSet>
#include <gtest/gtest.h>

#include <functional>

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

TEST(GalleryButtonPage, OffersEveryValueEnabledAndDisabled)
{
    ButtonPage page;
    struct Property {
        const char* name;
        std::function<int(const qvButtons_H&)> get;
        int count;
    };
    const Property properties[] = {
        {"ButtonStyle", [](const qvButtons_H& b) { return b.ButtonStyle(); }, 8},
        {"Mode", [](const qvButtons_H& b) { return b.Mode(); }, 3},
        {"ButtonShape", [](const qvButtons_H& b) { return b.ButtonShape(); }, 9},
        {"CaptionStyle", [](const qvButtons_H& b) { return b.CaptionStyle(); }, 3},
        {"CaptionAlign", [](const qvButtons_H& b) { return b.CaptionAlign(); }, 3},
        {"GradientMode", [](const qvButtons_H& b) { return b.GradientMode(); }, 5},
        {"PictureAlign", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : b.PictureAlign(); }, 6},
        {"PictureSize", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : b.PictureSize(); }, 5},
        {"icon picture", [](const qvButtons_H& b) { return b.Picture().isNone() ? -1 : int(b.Picture().icon); }, 2},
    };
    for (const Property& property : properties) {
        SCOPED_TRACE(property.name);
        QSet<int> seen;
        for (const qvButtons_H* b : page.buttons())
            seen.insert(property.get(*b));
        for (int v = 0; v < property.count; ++v)
            EXPECT_TRUE(seen.contains(v)) << "value " << v << " missing";
    }
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

TEST(GalleryButtonPage, PaintsEveryButtonInEveryStyle)
{
    ButtonPage page;
    page.resize(page.sizeHint());
    page.show();
    QApplication::processEvents();
    const QList<qvButtons_H*> fixed = [&] {
        QList<qvButtons_H*> list;
        for (qvButtons_H* b : page.buttons())
            if (b->objectName().startsWith(QLatin1String("Cmd_Style")))
                list << b;
        return list;
    }();
    for (int style = 0; style < 8; ++style) {
        for (bool enabled : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "style " << style << (enabled ? " enabled" : " disabled"));
            page.applyStyle(style);
            page.applyEnabled(enabled);
            for (qvButtons_H* b : page.buttons()) {
                if (fixed.contains(b))
                    continue;
                EXPECT_EQ(b->ButtonStyle(), style) << b->objectName().toStdString();
                b->Refresh();
                EXPECT_EQ(b->surface().size(), b->size()) << b->objectName().toStdString();
            }
        }
    }
    // The style table keeps its own styles: column s is style s.
    for (const qvButtons_H* b : fixed)
        EXPECT_EQ(b->ButtonStyle(), b->objectName().mid(9, 1).toInt()) << b->objectName().toStdString();
}

TEST(GalleryButtonPictures, KeyedBitmapsHaveNoPinkFringe)
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
    const struct {
        const char* name;
        QImage image;
    } bitmaps[] = {{"disc 16", gallery::keyedDiscBitmap(16)},
                   {"disc 32", gallery::keyedDiscBitmap(32)},
                   {"arrow", gallery::arrowShapeBitmap(94, 36)},
                   {"tab", gallery::tabShapeBitmap(94, 36)}};
    for (const auto& bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.name);
        EXPECT_EQ(bitmap.image.pixel(0, 0), gallery::kMagentaKey);
        EXPECT_NE(bitmap.image.pixel(bitmap.image.width() / 2, bitmap.image.height() / 2), gallery::kMagentaKey);
        EXPECT_EQ(nearKeyButNotKey(bitmap.image), 0);
    }
    const QImage star = gallery::starIcon(48);
    EXPECT_EQ(qAlpha(star.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(star.pixel(24, 26)), 255);
}

} // namespace
} // namespace ktv
