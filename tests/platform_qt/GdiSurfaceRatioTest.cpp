// The drawing surface at device pixel ratios above 1: the pixel rules paint whole logical pixels
// (every device pixel of each, no gaps between neighbours), transfers take the finer pixels of a
// finer source, and text uses the device pixels.
#include "platform/qt/gdi/GdiRegions.h"
#include "platform/qt/gdi/GdiSurface.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace ktv::gdi {
namespace {

constexpr ColorRef Red = RGB(255, 0, 0);
constexpr ColorRef Blue = RGB(0, 0, 255);
constexpr ColorRef White = RGB(255, 255, 255);

// The same drawing on a surface of the given ratio: an outlined box, a line, a region frame, a
// single pixel and the dotted focus rectangle, all under a clip.
GdiSurface draw(qreal ratio)
{
    GdiSurface s(14, 10, ratio);
    s.fillRect(QRect(0, 0, 14, 10), White);
    s.setClip(GdiRegions::rect(0, 0, 13, 10));
    s.setPen(Red);
    s.setBrush(Blue);
    s.rectangle(1, 1, 6, 5);
    s.line(7, 1, 12, 6);
    s.frameRegion(GdiRegions::ellipse(1, 5, 9, 10), Red, 1, 1);
    s.setPixel(12, 0, Blue);
    s.focusRect(8, 6, 14, 10);
    return s;
}

// The device image a ratio-1 drawing gives when each logical pixel covers its device block.
QImage blocks(const QImage& logical, qreal ratio)
{
    QImage out(qRound(logical.width() * ratio), qRound(logical.height() * ratio), QImage::Format_RGB32);
    for (int y = 0; y < logical.height(); ++y)
        for (int x = 0; x < logical.width(); ++x)
            for (int dy = qRound(y * ratio); dy < qRound((y + 1) * ratio); ++dy)
                for (int dx = qRound(x * ratio); dx < qRound((x + 1) * ratio); ++dx)
                    out.setPixel(dx, dy, logical.pixel(x, y));
    return out;
}

class GdiSurfaceRatio : public ::testing::TestWithParam<qreal> {};

TEST_P(GdiSurfaceRatio, ThePixelRulesPaintWholeLogicalPixels)
{
    const qreal ratio = GetParam();
    const GdiSurface one = draw(1);
    const GdiSurface fine = draw(ratio);
    EXPECT_EQ(fine.width(), 14);
    EXPECT_EQ(fine.height(), 10);
    EXPECT_EQ(fine.image().size(), QSize(qRound(14 * ratio), qRound(10 * ratio)));
    EXPECT_EQ(fine.image().devicePixelRatio(), ratio);
    QImage expected = blocks(one.image(), ratio);
    QImage actual = fine.image().convertToFormat(QImage::Format_RGB32);
    actual.setDevicePixelRatio(1);
    EXPECT_EQ(actual, expected);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(fine.pixel(x, y), one.pixel(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Ratios, GdiSurfaceRatio, ::testing::Values(1.25, 1.5, 2.0),
                         [](const auto& info) { return "x" + std::to_string(int(info.param * 100)); });

TEST(GdiSurfaceRatioTransfer, AFinerSourceKeepsItsDetailAtRatioTwo)
{
    // A 4 x 4 picture given at ratio 2 (2 x 2 logical): a checkerboard of device pixels.
    QImage source(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    source.setDevicePixelRatio(2);
    GdiSurface s(2, 2, 2);
    s.bitBlt(0, 0, 2, 2, source, 0, 0, Rop::SrcCopy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.image().pixel(x, y), source.pixel(x, y)) << x << "," << y;

    // A plain source stretched onto the finer surface covers each of its pixels' blocks.
    QImage plain(2, 1, QImage::Format_RGB32);
    plain.setPixel(0, 0, qRgb(255, 0, 0));
    plain.setPixel(1, 0, qRgb(0, 0, 255));
    GdiSurface t(2, 1, 2);
    t.bitBlt(0, 0, 2, 1, plain, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(t.image().pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(t.image().pixel(2, 0), qRgb(0, 0, 255));
}

TEST(GdiSurfaceRatioText, TextIsDrawnOnTheDevicePixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    auto textOn = [&](qreal ratio) {
        GdiSurface s(40, 16, ratio);
        s.fillRect(QRect(0, 0, 40, 16), White);
        s.setFont(font);
        s.setTextColor(0);
        s.drawText(QRect(0, 0, 40, 16), QStringLiteral("Ağ"), TextAlign::Left);
        return s;
    };
    const GdiSurface fine = textOn(2);
    // Upscaled text would be made of 2 x 2 blocks; text drawn at the finer pixels is not.
    int splitBlocks = 0;
    const QImage& image = fine.image();
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c)
                ++splitBlocks;
        }
    EXPECT_GT(splitBlocks, 10);
    // The text keeps its logical size: its ink lies within the same logical box as at ratio 1.
    const GdiSurface one = textOn(1);
    auto inkWidth = [](const GdiSurface& s) {
        int right = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.pixel(x, y) != White)
                    right = std::max(right, x);
        return right;
    };
    EXPECT_NEAR(inkWidth(fine), inkWidth(one), 1);
}

} // namespace
} // namespace ktv::gdi
