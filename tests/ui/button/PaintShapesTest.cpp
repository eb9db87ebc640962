// Tests of the button shapes: corner cuts, slanted shapes with their width growth, the
// picture-defined shapes from a key-coloured bitmap, and the CustomClick move.
#include "PaintSupport.h"

#include "ui/controls/button/paint/ButtonColors.h"

namespace ktv::test {
namespace {

using C = ButtonColors;

class PaintShapes : public PaintTest {
protected:
    // A 20 x 20 bitmap: magenta around a blue 12 x 12 square at (4, 4), with one nearly magenta
    // pixel inside the square and one nearly magenta pixel in the corner of the magenta area.
    static QImage keyedPicture()
    {
        QImage pic(20, 20, QImage::Format_RGB32);
        pic.fill(qRgb(255, 0, 255));
        for (int y = 4; y < 16; ++y)
            for (int x = 4; x < 16; ++x)
                pic.setPixel(x, y, qRgb(0, 0, 255));
        pic.setPixel(10, 10, qRgb(253, 3, 252)); // within 3 of the key: transparent too
        pic.setPixel(11, 10, qRgb(251, 0, 255)); // 4 away in red: opaque
        return pic;
    }
};

// The corner pixels of a 20 x 10 button that the rounded styles cut, and their neighbours they keep.
constexpr int kCornerW = 20, kCornerH = 10;
const QPoint kCornerCut[] = {{0, 0}, {1, 0}, {0, 1}, {19, 0}, {18, 0}, {19, 1},
                             {0, 9}, {1, 9}, {0, 8}, {19, 9}, {18, 9}, {19, 8}};
const QPoint kCornerKept[] = {{2, 0}, {1, 1}, {17, 0}, {18, 1}, {0, 7}, {2, 9}, {18, 8}};

class RoundedStyles : public PaintShapes, public ::testing::WithParamInterface<Style> {};

TEST_P(RoundedStyles, CutTheirCornersWithSmallTriangles)
{
    const Style style = GetParam();
    ButtonResources r;
    const QRegion shape = ButtonPainter::BuildRegions(state(kCornerW, kCornerH, style), r).windowShape;
    for (QPoint p : kCornerCut)
        EXPECT_FALSE(shape.contains(p)) << "style " << style << " " << p.x() << "," << p.y();
    for (QPoint p : kCornerKept)
        EXPECT_TRUE(shape.contains(p)) << "style " << style << " " << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(PaintShapes, RoundedStyles, ::testing::Values(Style::Rounded, Style::RoundedSoft),
                         [](const auto& info) {
                             return "Style" + std::to_string(button::toInt(info.param));
                         });

TEST_F(PaintShapes, OtherStylesCutNoTrianglesFromTheirCorners)
{
    const int w = kCornerW, h = kCornerH;
    ButtonResources r;
    const QRegion square = ButtonPainter::BuildRegions(state(w, h, Style::Classic), r).windowShape;
    for (QPoint p : kCornerCut)
        EXPECT_TRUE(square.contains(p)) << p.x() << "," << p.y();

    // Style 1 cuts single corner pixels; style 3 two of them, only while enabled.
    ButtonResources r1;
    const QRegion s1 = ButtonPainter::BuildRegions(state(w, h, Style::DoubleBevel), r1).windowShape;
    EXPECT_FALSE(s1.contains(QPoint(0, 0)));
    EXPECT_TRUE(s1.contains(QPoint(1, 0)));
    ButtonPaintState st3 = state(w, h, Style::Etched);
    ButtonResources r3;
    const QRegion s3 = ButtonPainter::BuildRegions(st3, r3).windowShape;
    EXPECT_FALSE(s3.contains(QPoint(0, 9)));
    EXPECT_FALSE(s3.contains(QPoint(19, 0)));
    EXPECT_TRUE(s3.contains(QPoint(0, 0)));
    st3.Enabled = false;
    EXPECT_TRUE(ButtonPainter::BuildRegions(st3, r3).windowShape.contains(QPoint(0, 9)));
}

TEST_F(PaintShapes, Style2DrawsRoundedCornerPixelsInItsFrameColour)
{
    ButtonResources r;
    const QImage image = paint(state(30, 20, Style::Rounded), r);
    EXPECT_EQ(at(image, 1, 1), 0x733C00);
    EXPECT_EQ(at(image, 28, 18), 0x733C00);
    EXPECT_EQ(at(image, 0, 5), 0x733C00); // the outer ring
}

struct SlantRow {
    const char* name;
    Shape shape;
    int width, height, grown, leftCut, rightLimit;
};

class SlantedShapes : public PaintShapes, public ::testing::WithParamInterface<SlantRow> {};

TEST_P(SlantedShapes, GrowUntilTheSlantLeavesFivePixels)
{
    const SlantRow& c = GetParam();
    ButtonPaintState s = state(c.width, c.height);
    s.ButtonShape = c.shape;
    ButtonResources r;
    const ButtonShape shape = ButtonPainter::BuildRegions(s, r);
    EXPECT_EQ(shape.size, QSize(c.grown, c.height)) << "shape " << c.shape << " width " << c.width;
    EXPECT_EQ(r.leftCut, c.leftCut) << "shape " << c.shape;
    EXPECT_EQ(r.rightLimit, c.rightLimit) << "shape " << c.shape;
}

const SlantRow kSlants[] = {
    {"SlantLeftGrows", Shape::SlantLeft, 44, 40, 49, 41, 49}, // 44 - 41 = 3 is below 5; 49 - 41 = 8 is not
    {"SlantLeftWideEnough", Shape::SlantLeft, 60, 40, 60, 41, 60},
    {"SlantRightGrows", Shape::SlantRight, 44, 40, 49, 0, 8},
    {"ParallelogramGrows", Shape::Parallelogram, 14, 10, 19, 11, 8},
    {"ParallelogramWideEnough", Shape::Parallelogram, 20, 10, 20, 11, 9},
};
INSTANTIATE_TEST_SUITE_P(PaintShapes, SlantedShapes, ::testing::ValuesIn(kSlants),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintShapes, ShapeOneSlantsItsLeftSide)
{
    ButtonPaintState s = state(60, 40);
    s.ButtonShape = Shape::SlantLeft;
    ButtonResources r;
    const QRegion shape = ButtonPainter::BuildRegions(s, r).windowShape;
    EXPECT_TRUE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(0, 39)));
    EXPECT_FALSE(shape.contains(QPoint(38, 39)));
    EXPECT_TRUE(shape.contains(QPoint(40, 39)));
    EXPECT_TRUE(shape.contains(QPoint(59, 39)));
    // Edges follow the slant: the middle of the left edge is drawn near x = 20.
    s.StateFlags = {};
    const QImage image = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_EQ(at(image, 20, 20), 0xFFFFFF); // style 0: white left outer edge
}

TEST_F(PaintShapes, CustomShapeFollowsTheOpaquePartOfAMagentaKeyedBitmap)
{
    ButtonPaintState s = state(20, 20, Style::Classic);
    s.Picture = keyedPicture();
    s.PictureSize = 48;
    s.ButtonShape = Shape::PictureFramed;
    s.BackColor = 0x00FF00; // green frame
    s.Caption.clear();
    ButtonResources r;
    const ButtonShape shape = ButtonPainter::BuildRegions(s, r);
    EXPECT_EQ(shape.size, QSize(20, 20));
    EXPECT_FALSE(shape.windowShape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.windowShape.contains(QPoint(3, 8)));
    EXPECT_TRUE(shape.windowShape.contains(QPoint(4, 4)));
    EXPECT_TRUE(shape.windowShape.contains(QPoint(15, 15)));
    EXPECT_FALSE(shape.windowShape.contains(QPoint(16, 8)));
    // Near-key pixels go wherever they lie, not only at the border.
    EXPECT_FALSE(shape.windowShape.contains(QPoint(10, 10)));
    EXPECT_TRUE(shape.windowShape.contains(QPoint(11, 10)));
    EXPECT_EQ(r.pictureCopy.pixel(10, 10), qRgb(255, 0, 255));
    // The shape region is the opaque part shrunk by one pixel, the inner region by two.
    EXPECT_FALSE(r.shapeRegion.contains(QPoint(4, 8)));
    EXPECT_TRUE(r.shapeRegion.contains(QPoint(5, 8)));
    EXPECT_FALSE(r.innerRegion.contains(QPoint(5, 8)));
    EXPECT_TRUE(r.innerRegion.contains(QPoint(6, 8)));

    // Painted: the outline of the opaque part is framed in BackColor, the inside shows the picture.
    const QImage image = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_EQ(at(image, 4, 8), 0x00FF00);
    EXPECT_EQ(at(image, 15, 8), 0x00FF00);
    EXPECT_EQ(at(image, 8, 4), 0x00FF00);
    EXPECT_EQ(at(image, 8, 8), 0xFF0000); // blue picture
}

TEST_F(PaintShapes, CustomShapeFitsThePictureIntoTheButton)
{
    ButtonPaintState s = state(60, 30, Style::Classic);
    s.Picture = keyedPicture();
    s.PictureSize = 48;
    s.ButtonShape = Shape::PictureRinged;
    ButtonResources r;
    const ButtonShape shape = ButtonPainter::BuildRegions(s, r);
    EXPECT_EQ(shape.size, QSize(30, 30));
    EXPECT_EQ(r.scaledPictureSize, QSize(30, 30));
    // Without a picture the shape stays as it was.
    s.Picture = QImage();
    ButtonResources none;
    none.windowShape = QRegion(0, 0, 5, 5);
    ButtonPainter::RefreshResources(s, none, QStringLiteral("picture"));
    EXPECT_EQ(ButtonPainter::BuildRegions(s, none).windowShape, QRegion(0, 0, 5, 5));
}

TEST_F(PaintShapes, ShapeEightShowsTheSunkenRingWhenPushed)
{
    ButtonPaintState s = state(40, 40, Style::Classic);
    QImage pic(40, 40, QImage::Format_RGB32);
    pic.fill(qRgb(255, 0, 255));
    for (int y = 5; y < 35; ++y)
        for (int x = 5; x < 35; ++x)
            pic.setPixel(x, y, qRgb(0, 0, 255));
    s.Picture = pic;
    s.PictureSize = 48;
    s.ButtonShape = Shape::PictureRinged;
    s.Caption.clear();
    s.StateFlags = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
    s.Hovering = true;
    ButtonResources r;
    const QImage image = paint(s, r);
    // The ring of the shape region outside the inner one: grey at the top, light at the bottom.
    const PaintColor top = at(image, 20, 6), bottom = at(image, 20, 33);
    EXPECT_LT(red(top) + 60, red(bottom));
}

struct CustomClickRow {
    const char* name;
    int customClick;
    QPoint offset;
};

class CustomClicks : public PaintShapes, public ::testing::WithParamInterface<CustomClickRow> {};

TEST_P(CustomClicks, MoveThePressedPushButtonAndBack)
{
    const CustomClickRow& c = GetParam();
    ButtonPaintState s = state(40, 20, Style::Classic);
    s.CustomClick = c.customClick;
    ButtonResources r;
    paint(s, r);
    s.StateFlags = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
    const ButtonRedraw press = ButtonPainter::RedrawButton(s, r);
    EXPECT_EQ(press.moveBy, c.offset) << c.customClick;
    EXPECT_EQ(press.paintCode, 0);
    EXPECT_FALSE(press.image.isNull()); // the surface as it was is presented once
    const ButtonRedraw held = ButtonPainter::RedrawButton(s, r);
    EXPECT_EQ(held.moveBy, QPoint()) << c.customClick;
    EXPECT_GT(held.paintCode, 0);
    s.StateFlags = {};
    const ButtonRedraw release = ButtonPainter::RedrawButton(s, r);
    EXPECT_EQ(release.moveBy, -c.offset) << c.customClick;
    EXPECT_GT(release.paintCode, 0);
    EXPECT_FALSE(release.image.isNull());
}

const CustomClickRow kCustomClicks[] = {
    {"Up", 1, {0, -1}},       {"UpRight", 2, {1, -1}}, {"UpLeft", 3, {-1, -1}}, {"DownRight", 4, {1, 1}},
    {"DownLeft", 5, {-1, 1}}, {"Right", 6, {1, 0}},    {"Down", 7, {0, 1}},     {"Left", 8, {-1, 0}},
};
INSTANTIATE_TEST_SUITE_P(PaintShapes, CustomClicks, ::testing::ValuesIn(kCustomClicks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintShapes, CustomClickNeverMovesACheckBox)
{
    ButtonPaintState s = state(40, 20, Style::Classic);
    s.CustomClick = 4;
    s.Mode = Mode::Check;
    s.StateFlags = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
    ButtonResources r;
    EXPECT_EQ(ButtonPainter::RedrawButton(s, r).moveBy, QPoint());
}

} // namespace
} // namespace ktv::test
