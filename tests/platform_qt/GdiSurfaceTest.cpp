// Pixel tests of the GDI-like graphics layer: the rectangle outline rule, lines without their end
// point, regions (ellipse, winding polygon, frame, combine), the ternary raster operation,
// key-colour masks and the dotted focus rectangle.
#include "platform/qt/gdi/GdiSurface.h"
#include "platform/qt/gdi/GdiRegions.h"

#include <gtest/gtest.h>

namespace ktv::gdi {
namespace {

constexpr ColorRef Red = RGB(255, 0, 0);
constexpr ColorRef Blue = RGB(0, 0, 255);
constexpr ColorRef White = RGB(255, 255, 255);

// The painted pixels of a surface as text rows: '#' for colour c, '.' for anything else.
std::string rows(const GdiSurface& s, ColorRef c, int x0, int y0, int w, int h)
{
    std::string out;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x)
            out += s.pixel(x, y) == c ? '#' : '.';
        out += '\n';
    }
    return out;
}

std::string regionRows(const QRegion& r, int w, int h)
{
    std::string out;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            out += r.contains(QPoint(x, y)) ? '#' : '.';
        out += '\n';
    }
    return out;
}

TEST(GdiSurface, ColoursKeepRedInTheLowestByte)
{
    GdiSurface s(2, 1);
    s.fillRect(QRect(0, 0, 1, 1), 0x0000FF);
    EXPECT_EQ(s.image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(s.pixel(0, 0), 0x0000FFu);
}

TEST(GdiSurface, RectangleOutlineLiesInsideTheBoxAndCoversExactlyIt)
{
    GdiSurface s(6, 5);
    s.fillRect(QRect(0, 0, 6, 5), White);
    s.setPen(Red);
    s.setBrush(Blue);
    s.rectangle(1, 1, 5, 4); // pixels 1..4 across, 1..3 down
    EXPECT_EQ(rows(s, Red, 0, 0, 6, 5), "......\n"
                                        ".####.\n"
                                        ".#..#.\n"
                                        ".####.\n"
                                        "......\n");
    EXPECT_EQ(rows(s, Blue, 0, 0, 6, 5), "......\n"
                                         "......\n"
                                         "..##..\n"
                                         "......\n"
                                         "......\n");

    // (0, 0, width, height) with pen = brush fills the whole surface.
    s.setPen(Blue);
    s.rectangle(0, 0, 6, 5);
    EXPECT_EQ(rows(s, Blue, 0, 0, 6, 5), "######\n######\n######\n######\n######\n");
}

TEST(GdiSurface, RectangleWithoutPenEndsOnePixelShort)
{
    GdiSurface s(4, 3);
    s.fillRect(QRect(0, 0, 4, 3), White);
    s.setPen(0, 1, PenStyle::Null);
    s.setBrush(Red);
    s.rectangle(0, 0, 4, 3);
    EXPECT_EQ(rows(s, Red, 0, 0, 4, 3), "###.\n###.\n....\n");
}

struct LineRow {
    const char* name;
    int x0, y0, x1, y1;
    const char* expected;
};

const LineRow kLines[] = {
    {"Rightwards", 0, 1, 4, 1, ".....\n####.\n.....\n.....\n"},
    {"Leftwards", 4, 1, 0, 1, ".....\n.####\n.....\n.....\n"},
    {"Upwards", 2, 3, 2, 0, ".....\n..#..\n..#..\n..#..\n"},
    {"Diagonal", 0, 0, 3, 3, "#....\n.#...\n..#..\n.....\n"},
    {"OnePoint", 1, 1, 1, 1, ".....\n.....\n.....\n.....\n"},
};

class GdiLines : public ::testing::TestWithParam<LineRow> {};

TEST_P(GdiLines, LeaveOutTheirEndPoint)
{
    const LineRow& c = GetParam();
    GdiSurface s(5, 4);
    s.setPen(Red);
    s.line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(rows(s, Red, 0, 0, 5, 4), c.expected) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
}

INSTANTIATE_TEST_SUITE_P(GdiSurface, GdiLines, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GdiSurface, DrawingStaysInsideTheClipRegion)
{
    GdiSurface s(4, 4);
    s.setClip(GdiRegions::rect(1, 1, 3, 3));
    s.fillRect(QRect(0, 0, 4, 4), Red);
    s.setPen(Blue);
    s.line(0, 0, 4, 0);
    EXPECT_EQ(rows(s, Red, 0, 0, 4, 4), "....\n.##.\n.##.\n....\n");
    s.clearClip();
    s.line(0, 0, 4, 0);
    EXPECT_EQ(rows(s, Blue, 0, 0, 4, 1), "####\n");
}

TEST(GdiRegions, EllipseIsSymmetricAndInsideItsBox)
{
    const QRegion e = GdiRegions::ellipse(0, 0, 8, 6);
    EXPECT_EQ(regionRows(e, 8, 6), "..####..\n"
                                   ".######.\n"
                                   "########\n"
                                   "########\n"
                                   ".######.\n"
                                   "..####..\n");
    EXPECT_EQ(e.boundingRect(), QRect(0, 0, 8, 6));
}

TEST(GdiRegions, PolygonTakesTopLeftEdgesAndLeavesBottomRightOnes)
{
    // The three-pixel corner triangles of the rounded styles.
    EXPECT_EQ(regionRows(GdiRegions::polygon({{0, 0}, {2, 0}, {0, 2}}), 3, 3), "##.\n#..\n...\n");
    EXPECT_EQ(regionRows(GdiRegions::polygon({{0, 5}, {3, 5}, {0, 2}}), 3, 5), "...\n...\n...\n#..\n##.\n");
    // A square tiles exactly: its right and bottom edges are outside.
    EXPECT_EQ(GdiRegions::polygon({{1, 1}, {4, 1}, {4, 3}, {1, 3}}), QRegion(1, 1, 3, 2));
}

TEST(GdiRegions, PolygonUsesTheWindingRule)
{
    // A figure whose two loops overlap in the same direction: the overlap stays filled (under
    // the alternate rule it would be a hole).
    const std::vector<QPoint> twice = {{0, 0}, {6, 0}, {6, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 2}, {0, 2}};
    const QRegion r = GdiRegions::polygon(twice);
    EXPECT_TRUE(r.contains(QPoint(1, 1)));
    EXPECT_TRUE(r.contains(QPoint(5, 3)));
}

TEST(GdiRegions, FrameIsTheBorderOfTheGivenWidthAndHeight)
{
    const QRegion r = GdiRegions::rect(0, 0, 6, 5);
    EXPECT_EQ(regionRows(GdiRegions::frame(r, 1, 1), 6, 5), "######\n#....#\n#....#\n#....#\n######\n");
    EXPECT_EQ(regionRows(GdiRegions::frame(r, 2, 1), 6, 5), "######\n##..##\n##..##\n##..##\n######\n");
}

TEST(GdiRegions, CombineAndOffset)
{
    const QRegion a = GdiRegions::rect(0, 0, 4, 4);
    const QRegion b = GdiRegions::rect(2, 2, 6, 6);
    EXPECT_EQ(GdiRegions::combine(a, b, Combine::And), QRegion(2, 2, 2, 2));
    EXPECT_EQ(GdiRegions::combine(a, b, Combine::Or).boundingRect(), QRect(0, 0, 6, 6));
    EXPECT_FALSE(GdiRegions::combine(a, b, Combine::Diff).contains(QPoint(3, 3)));
    EXPECT_EQ(GdiRegions::combine(a, b, Combine::Copy), a);
    EXPECT_EQ(GdiRegions::offset(a, 1, 2).boundingRect(), QRect(1, 2, 4, 4));
}

TEST(GdiSurface, TernaryOperationKeepsTheDestinationUnderWhiteAndTakesTheBrushUnderBlack)
{
    GdiSurface s(3, 1);
    s.fillRect(QRect(0, 0, 3, 1), RGB(10, 200, 30));
    QImage src(3, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(255, 255, 255));
    src.setPixel(1, 0, qRgb(0, 0, 0));
    src.setPixel(2, 0, qRgb(0xF0, 0x0F, 0xFF)); // bit by bit: high nibble red keeps the destination
    s.setBrush(RGB(0x80, 0x80, 0x80));
    s.bitBlt(0, 0, 3, 1, src, 0, 0, Rop::PSDPxax);
    EXPECT_EQ(s.pixel(0, 0), RGB(10, 200, 30));
    EXPECT_EQ(s.pixel(1, 0), RGB(0x80, 0x80, 0x80));
    // ((D ^ P) & S) ^ P per component.
    EXPECT_EQ(s.pixel(2, 0), RGB(((10 ^ 0x80) & 0xF0) ^ 0x80, ((200 ^ 0x80) & 0x0F) ^ 0x80, 30));
}

TEST(GdiSurface, AndThenOrThroughAKeyMaskDrawsOnlyTheOpaquePart)
{
    QImage pic(3, 1, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 255));
    pic.setPixel(1, 0, qRgb(0, 128, 0));
    pic.setPixel(2, 0, qRgb(255, 0, 255));
    const ColorRef key = fromQRgb(pic.pixel(0, 0));
    const QImage mask = GdiSurface::keyMask(pic, key);
    EXPECT_EQ(mask.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(mask.pixel(1, 0), qRgb(0, 0, 0));

    GdiSurface s(6, 2);
    s.fillRect(QRect(0, 0, 6, 2), Blue);
    s.stretchBlt(0, 0, 6, 2, mask, 0, 0, 3, 1, Rop::SrcAnd);
    s.stretchBlt(0, 0, 6, 2, GdiSurface::blackenKey(pic, key), 0, 0, 3, 1, Rop::SrcPaint);
    EXPECT_EQ(rows(s, Blue, 0, 0, 6, 2), "##..##\n##..##\n");
    EXPECT_EQ(rows(s, RGB(0, 128, 0), 0, 0, 6, 2), "..##..\n..##..\n");
}

TEST(GdiSurface, FocusRectangleInvertsEveryOtherBorderPixelAndUndoesItself)
{
    GdiSurface s(6, 4);
    s.fillRect(QRect(0, 0, 6, 4), White);
    s.focusRect(0, 0, 6, 4);
    EXPECT_EQ(rows(s, 0, 0, 0, 6, 4), "#.#.#.\n.....#\n#.....\n.#.#.#\n");
    s.focusRect(0, 0, 6, 4);
    EXPECT_EQ(rows(s, White, 0, 0, 6, 4), "######\n######\n######\n######\n");
}

TEST(GdiSurface, WrappedTextIsMeasuredWithinTheWidth)
{
    GdiSurface s(200, 60);
    QFont font;
    font.setPixelSize(12);
    s.setFont(font);
    const QSize one = s.measureText(QStringLiteral("Kapat"), 200);
    const QSize two = s.measureText(QStringLiteral("Kapat\nİleri"), 200);
    EXPECT_GT(one.width(), 0);
    EXPECT_GT(two.height(), one.height());
    const QSize wrapped = s.measureText(QStringLiteral("Kapat Kapat Kapat"), one.width() + 2);
    EXPECT_LE(wrapped.width(), one.width() + 2);
    EXPECT_GE(wrapped.height(), 3 * one.height() - 2);
    // The access-key marker is not measured as a character.
    EXPECT_EQ(s.measureText(QStringLiteral("&Kapat"), 200).width(), one.width());

    s.fillRect(QRect(0, 0, 200, 60), White);
    s.setTextColor(0);
    s.drawText(QRect(0, 0, 100, 30), QStringLiteral("Kapat"), TextAlign::Right);
    int leftmost = 200;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            if (s.pixel(x, y) != White)
                leftmost = std::min(leftmost, x);
    EXPECT_GE(leftmost, 100 - one.width() - 1);
    EXPECT_LT(leftmost, 100);
}

} // namespace
} // namespace ktv::gdi
