// Pixel tests of the caption and picture: line breaks, centring with a picture, the clamps, the
// pressed shift, disabled captions, hidden captions of shapes 5 and 6, and the picture effects
// (key-colour transparency, icons, the greyed disabled picture).
#include "PaintSupport.h"

#include "ui/controls/button/paint/ButtonColors.h"

#include <QFontMetrics>

namespace ktv::test {
namespace {

constexpr PaintColor Face = 0xC8D0D4; // the pinned button face
constexpr PaintColor Blue = 0xFF0000;

class PaintContent : public PaintTest {
protected:
    // Crisp text, so a pixel is either caption or not.
    static ButtonPaintState crisp(int w, int h, Style style = Style::Classic)
    {
        ButtonPaintState s = state(w, h, style);
        s.Font.setStyleStrategy(QFont::NoAntialias);
        return s;
    }
    // 16 x 16: magenta key colour around a blue 8 x 8 square at (4, 4).
    static QImage keyedPicture()
    {
        QImage pic(16, 16, QImage::Format_RGB32);
        pic.fill(qRgb(255, 0, 255));
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x)
                pic.setPixel(x, y, qRgb(0, 0, 255));
        return pic;
    }
    // The bounding box of the pixels of one colour (within an area).
    static QRect boxOf(const QImage& image, PaintColor c, QRect area = {})
    {
        if (area.isNull())
            area = image.rect();
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (at(image, x, y) == c)
                    box = box.united(QRect(x, y, 1, 1));
        return box;
    }
    static int count(const QImage& image, PaintColor c)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += at(image, x, y) == c;
        return n;
    }
};

TEST_F(PaintContent, DoubleBarBreaksTheCaptionIntoTwoLines)
{
    ButtonPaintState s = crisp(120, 50);
    s.Caption = QStringLiteral("BAK||KAL"); // capitals: no dots that would split a line in two
    ButtonResources r;
    const QImage image = paint(s, r);
    const int line = QFontMetrics(s.Font).height();
    EXPECT_GE(r.captionRect.height(), 2 * line);
    // Black caption pixels lie in two bands with a gap between them.
    std::vector<bool> rows(50, false);
    for (int y = 3; y < 47; ++y) // inside the edge rings
        for (int x = 3; x < 117; ++x)
            if (at(image, x, y) == 0)
                rows[y] = true;
    int bands = 0;
    for (int y = 1; y < 50; ++y)
        bands += rows[y] && !rows[y - 1];
    EXPECT_EQ(bands, 2);

    s.Caption = QStringLiteral("BAK KAL");
    ButtonResources one;
    paint(s, one);
    EXPECT_LT(one.captionRect.height(), 2 * line);
}

TEST_F(PaintContent, PictureLeftOfCaptionIsCentredTogetherWithIt)
{
    ButtonPaintState s = crisp(140, 40);
    s.Caption = QStringLiteral("Kapat");
    s.Picture = keyedPicture();
    s.PictureAlign = PictureAlign::LeftOfCaption;
    s.PictureSize = 16;
    ButtonResources r;
    paint(s, r);
    const QRect cap = r.captionRect, pic = r.pictureRect;
    EXPECT_EQ(pic.width(), 16);
    EXPECT_EQ(pic.x() + 16 + 4, cap.x()); // picture, a four-pixel gap, caption
    const int leftGap = pic.x();
    const int rightGap = 140 - (cap.x() + cap.width());
    EXPECT_LE(std::abs(leftGap - rightGap), 1);
    EXPECT_EQ(pic.y(), (40 - 16) / 2);
}

struct PictureAlignRow {
    const char* name;
    PictureAlign align;
    int x, y; // expected picture position; -1 = not checked
};

class PictureAlignments : public PaintContent, public ::testing::WithParamInterface<PictureAlignRow> {};

// 100 x 60 button, 16-pixel picture, no caption.
TEST_P(PictureAlignments, PlaceThePicture)
{
    const PictureAlignRow& c = GetParam();
    ButtonPaintState s = crisp(100, 60);
    s.Caption.clear();
    s.Picture = keyedPicture();
    s.PictureAlign = c.align;
    ButtonResources r;
    paint(s, r);
    EXPECT_EQ(r.pictureRect.x(), c.x) << "align " << c.align;
    if (c.y >= 0) {
        EXPECT_EQ(r.pictureRect.y(), c.y) << "align " << c.align;
    }
}

const PictureAlignRow kPictureAligns[] = {
    {"LeftEdge", PictureAlign::LeftEdge, 4, 22},
    {"RightEdge", PictureAlign::RightEdge, 80, 22},
    {"RightOfCaption", PictureAlign::RightOfCaption, 80, 22},
    {"TopCenter", PictureAlign::TopCenter, 42, -1},
    {"BottomCenter", PictureAlign::BottomCenter, 42, -1},
};
INSTANTIATE_TEST_SUITE_P(PaintContent, PictureAlignments, ::testing::ValuesIn(kPictureAligns),
                         [](const auto& info) { return std::string(info.param.name); });

struct LargePictureRow {
    const char* name;
    int size;
    Shape shape;
    QRect expected;
};

class LargePictures : public PaintContent, public ::testing::WithParamInterface<LargePictureRow> {};

// 100 x 60 button, 16 x 16 picture.
TEST_P(LargePictures, FillOrFitTheButton)
{
    const LargePictureRow& c = GetParam();
    ButtonPaintState s = crisp(100, 60);
    s.Caption.clear();
    s.Picture = keyedPicture();
    s.PictureSize = c.size;
    s.ButtonShape = c.shape;
    ButtonResources r;
    paint(s, r);
    EXPECT_EQ(r.pictureRect, c.expected) << "size " << c.size << " shape " << c.shape;
    EXPECT_TRUE(r.pictureFillsButton);
}

const LargePictureRow kLargePictures[] = {
    {"Size40FillsInsideTheEdges", 40, Shape::Rectangle, QRect(3, 3, 94, 54)},
    {"Size40InsideTheFrameOfShape6", 40, Shape::EllipseFramed, QRect(1, 1, 98, 58)},
    {"Size48FittedAndCentred", 48, Shape::Rectangle, QRect(26, 6, 48, 48)}, // into 88 x 48, proportions kept
};
INSTANTIATE_TEST_SUITE_P(PaintContent, LargePictures, ::testing::ValuesIn(kLargePictures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintContent, CaptionIsClampedInsideTheButton)
{
    ButtonPaintState s = crisp(40, 12);
    s.Caption = QStringLiteral("Çok uzun bir yazı");
    ButtonResources r;
    paint(s, r);
    EXPECT_EQ(r.captionRect.y(), 4);
    EXPECT_LE(r.captionRect.y() + r.captionRect.height(), 12 - 5);
    EXPECT_GE(r.captionRect.x(), 4);
    EXPECT_LE(r.captionRect.x() + r.captionRect.width(), 40 - 4);
}

struct PressedShiftRow {
    const char* name;
    Style style;
    Shape shape;
    QPoint shift;
};

class PressedShifts : public PaintContent, public ::testing::WithParamInterface<PressedShiftRow> {};

TEST_P(PressedShifts, DependOnTheShapeAndNotForStyle3)
{
    const PressedShiftRow& c = GetParam();
    ButtonPaintState s = crisp(90, 40, c.style);
    s.Caption.clear();
    s.ButtonShape = c.shape;
    s.Picture = keyedPicture();
    s.PictureAlign = PictureAlign::TopCenter;
    ButtonResources r;
    const QRect rest = boxOf(paint(s, r), Blue);
    s.StateFlags = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
    s.Hovering = true;
    const QRect pushed = boxOf(ButtonPainter::RedrawButton(s, r).image, Blue);
    ASSERT_FALSE(rest.isEmpty());
    EXPECT_EQ(pushed.topLeft() - rest.topLeft(), c.shift) << "style " << c.style << " shape " << c.shape;
    EXPECT_EQ(pushed.size(), rest.size());
}

const PressedShiftRow kPressedShifts[] = {
    {"Rectangle", Style::Classic, Shape::Rectangle, {1, 1}},
    {"SlantRight", Style::Classic, Shape::SlantRight, {1, 1}},
    {"Parallelogram", Style::Classic, Shape::Parallelogram, {1, 1}}, // the last shape that shifts across
    {"Ellipse", Style::Classic, Shape::Ellipse, {0, 1}},
    {"Style3StaysPut", Style::Etched, Shape::Rectangle, {0, 0}},
};
INSTANTIATE_TEST_SUITE_P(PaintContent, PressedShifts, ::testing::ValuesIn(kPressedShifts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintContent, DisabledCaptionIsEtched)
{
    ButtonPaintState s = crisp(90, 30);
    s.Caption = QStringLiteral("Kapat");
    s.Enabled = false;
    ButtonResources r;
    const QImage image = paint(s, r);
    int white = 0, grey = 0;
    for (int y = 3; y < 27; ++y) {
        for (int x = 3; x < 87; ++x) {
            if (at(image, x, y) == 0xFFFFFF) {
                ++white;
                // The white copy lies one pixel right and down of the grey caption.
                EXPECT_EQ(at(image, x - 1, y - 1), 0x808080) << x << "," << y;
            }
            grey += at(image, x, y) == 0x808080;
        }
    }
    EXPECT_GT(white, 5);
    EXPECT_GT(grey, 10);
    EXPECT_EQ(count(image, 0) - count(paint(crisp(90, 30), r), 0), 0); // no black caption pixels
}

TEST_F(PaintContent, EngravedCaptionHasALightCopyUpLeftAndADarkOneDownRight)
{
    ButtonPaintState s = crisp(90, 30);
    s.Caption = QStringLiteral("I");
    s.CaptionStyle = button::CaptionStyle::Engraved;
    ButtonResources r;
    const QImage image = paint(s, r);
    const PaintColor light = ButtonColors::Shift(Face, 40);
    const PaintColor dark = ButtonColors::Shift(Face, -40);
    const QRect area = r.captionRect.adjusted(-3, -3, 3, 3); // away from the black edges
    const QRect lightBox = boxOf(image, light, area), darkBox = boxOf(image, dark, area),
                text = boxOf(image, 0, area);
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(lightBox.isEmpty());
    ASSERT_FALSE(darkBox.isEmpty());
    EXPECT_LT(lightBox.left(), text.left());
    EXPECT_GT(darkBox.right(), text.right());
}

class CaptionOnlyWhileOn : public PaintContent, public ::testing::WithParamInterface<Shape> {};

TEST_P(CaptionOnlyWhileOn, EllipticShapesShowTheirCaption)
{
    const Shape shape = GetParam();
    ButtonPaintState s = crisp(90, 40);
    s.ButtonShape = shape;
    s.Mode = Mode::Check;
    s.Caption = QStringLiteral("Kapat");
    ButtonResources r;
    const QImage off = paint(s, r);
    s.Value = true;
    const QImage on = ButtonPainter::RedrawButton(s, r).image;
    auto captionPixels = [](const QImage& image) {
        int n = 0;
        for (int y = 10; y < 30; ++y)
            for (int x = 15; x < 75; ++x)
                n += at(image, x, y) == 0;
        return n;
    };
    EXPECT_EQ(captionPixels(off), 0) << "shape " << shape;
    EXPECT_GT(captionPixels(on), 5) << "shape " << shape;
}

INSTANTIATE_TEST_SUITE_P(PaintContent, CaptionOnlyWhileOn,
                         ::testing::Values(Shape::EllipseNoCaption, Shape::EllipseFramed),
                         [](const auto& info) {
                             return "Shape" + std::to_string(button::toInt(info.param));
                         });

TEST_F(PaintContent, KeyColouredPixelsOfABitmapAreTransparent)
{
    ButtonPaintState s = crisp(60, 30);
    s.Caption.clear();
    s.Picture = keyedPicture();
    s.GradientMode = GradientMode::TopToBottom; // the gradient shows through
    s.BackColor = 0x00FFFF;
    s.GradientColor = 0x00FF00;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_EQ(count(image, 0xFF00FF), 0);
    EXPECT_EQ(boxOf(image, Blue), QRect(r.pictureRect.x() + 4, r.pictureRect.y() + 4, 8, 8));
    // Where the picture's background was, the gradient row colour stays.
    const int y = r.pictureRect.y() + 1;
    EXPECT_EQ(at(image, r.pictureRect.x() + 1, y), at(image, 40, y));
}

TEST_F(PaintContent, IconsKeepTheirOwnTransparency)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgba(0, 255, 0, 255)); // an opaque top-left pixel is not a key colour
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            icon.setPixel(x, y, qRgba(0, 0, 255, 255));
    ButtonPaintState s = crisp(60, 30);
    s.Caption.clear();
    s.Picture = icon;
    s.PictureIsIcon = true;
    ButtonResources r;
    const QImage image = paint(s, r);
    const QPoint p = r.pictureRect.topLeft();
    EXPECT_EQ(at(image, p.x(), p.y()), 0x00FF00);
    EXPECT_EQ(at(image, p.x() + 1, p.y() + 1), Face);
    EXPECT_EQ(at(image, p.x() + 6, p.y() + 6), Blue);
}

TEST_F(PaintContent, DisabledPictureShowsDarkPartsGreyAndLightPartsNotAtAll)
{
    QImage pic(16, 16, QImage::Format_RGB32);
    pic.fill(qRgb(255, 0, 255));
    for (int y = 2; y < 14; ++y) {
        for (int x = 2; x < 8; ++x)
            pic.setPixel(x, y, qRgb(0, 0, 0));
        for (int x = 8; x < 14; ++x)
            pic.setPixel(x, y, qRgb(255, 255, 255));
    }
    ButtonPaintState s = crisp(60, 30);
    s.Caption.clear();
    s.Picture = pic;
    s.Enabled = false;
    ButtonResources r;
    const QImage image = paint(s, r);
    const QPoint p = r.pictureRect.topLeft();
    EXPECT_EQ(at(image, p.x() + 4, p.y() + 6), 0x808080); // black -> grey
    EXPECT_EQ(at(image, p.x() + 10, p.y() + 6), Face);    // white -> nothing
    EXPECT_EQ(at(image, p.x() + 0, p.y() + 0), Face);     // key colour -> nothing
}

TEST_F(PaintContent, RemovingThePictureFreesItsSlot)
{
    ButtonPaintState s = crisp(120, 30);
    s.Caption = QStringLiteral("Kapat");
    s.Picture = keyedPicture();
    s.CaptionAlign = button::CaptionAlign::Left;
    ButtonResources r;
    paint(s, r);
    EXPECT_EQ(r.captionRect.x(), 4 + 16 + 4);
    s.Picture = QImage();
    ButtonPainter::RedrawButton(s, r);
    EXPECT_EQ(r.pictureWidth + r.pictureHeight, 0);
    EXPECT_EQ(r.captionRect.x(), 4);
}

} // namespace
} // namespace ktv::test
