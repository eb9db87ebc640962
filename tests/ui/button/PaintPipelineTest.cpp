// Pixel tests of the button paint pipeline: colour shifting and blending, the background with its
// gradients and style-2 shading, the frame rings, and the presented image.
#include "PaintSupport.h"

#include "ui/controls/button/paint/ButtonColors.h"

namespace ktv::test {
namespace {

using C = ButtonColors;

struct ShiftRow {
    const char* name;
    PaintColor color;
    int amount;
    bool proportional;
    int r, g, b;
};

class ShiftColorFigures : public ::testing::TestWithParam<ShiftRow> {};

TEST_P(ShiftColorFigures, GiveTheirChannels)
{
    const ShiftRow& c = GetParam();
    int amount = c.amount;
    const PaintColor out = C::ShiftColor(c.color, amount, c.proportional);
    EXPECT_EQ(red(out), c.r) << std::hex << c.color << " by " << std::dec << c.amount;
    EXPECT_EQ(green(out), c.g) << std::hex << c.color << " by " << std::dec << c.amount;
    EXPECT_EQ(blue(out), c.b) << std::hex << c.color << " by " << std::dec << c.amount;
    EXPECT_EQ(amount, c.amount);
}

const ShiftRow kShiftRows[] = {
    // Green and blue come out one step brighter than red (divisors 255 and 65280).
    {"WhiteDarker", 0xFFFFFF, -32, false, 223, 224, 224},
    {"BlackLighter", 0x000000, 32, false, 32, 32, 32},
    {"HalfGreyRoundsUp", 0x808080, 0, false, 128, 129, 129},    // 0x8000 / 255 = 128.5 -> 129
    {"BelowHalfRoundsDown", 0x7F7F7F, 0, false, 127, 127, 127}, // 0x7F00 / 255 = 127.49 -> 127
    {"Proportional", 0x808080, -25, true, 103, 104, 113},       // blue 129 - (25 * 129) \ 192 = 129 - 16
    {"ClampsAtWhite", 0x102030, 300, false, 255, 255, 255},
    {"ClampsAtBlack", 0x102030, -300, false, 0, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(ButtonColors, ShiftColorFigures, ::testing::ValuesIn(kShiftRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ButtonColors, ShiftColorCanInvert)
{
    int amount = -32;
    EXPECT_EQ(C::ShiftColor(0xFFFFFF, amount, false, false, true), 0x1F1F20);
}

TEST(ButtonColors, AvoidingBlackAndWhiteTurnsTheShiftAround)
{
    int amount = -32;
    EXPECT_EQ(C::ShiftColor(0x000000, amount, false, true), 0x202020);
    EXPECT_EQ(amount, 32);

    amount = 32;
    EXPECT_EQ(C::ShiftColor(0xFFFFFF, amount, false, true), 0xE0E0DF);
    EXPECT_EQ(amount, -32);

    amount = 0; // no shift at all becomes 64
    EXPECT_EQ(C::ShiftColor(0x000000, amount, false, true), 0x404040);
    EXPECT_EQ(amount, 64);

    // Both directions clamp to an end: the shift is halved until it does not, instead of
    // going back and forth for ever.
    amount = 400;
    const PaintColor out = C::ShiftColor(0x808080, amount, false, true);
    EXPECT_NE(out, 0);
    EXPECT_NE(out, 0xFFFFFF);
}

TEST(ButtonColors, BlendRunsFromTheFirstColourToTheSecond)
{
    const auto list = C::BlendColors(5, 0x0000FF, 0xFF0000);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], 0x0000FF);
    EXPECT_EQ(red(list[4]), 0);
    EXPECT_EQ(blue(list[4]), 255);
    for (size_t i = 1; i < list.size(); ++i) {
        EXPECT_LT(red(list[i]), red(list[i - 1]));
        EXPECT_GT(blue(list[i]), blue(list[i - 1]));
    }
    // Too short a run to blend: the first colour throughout, no division by zero.
    EXPECT_EQ(C::BlendColors(1, 0x123456, 0xFFFFFF), std::vector<PaintColor>{0x123456});
    EXPECT_TRUE(C::BlendColors(0, 0, 0xFFFFFF).empty());
}

class PaintPipeline : public PaintTest {};

TEST_F(PaintPipeline, GradientModesAndTheirMirrors)
{
    const int w = 60, h = 30;
    auto draw = [&](GradientMode mode, int screen = 4000) {
        ButtonPaintState s =
            state(w, h, Style::ThinRing); // style 4: a thin ring only, the face is all gradient
        s.Caption.clear();
        s.BackColor = 0x0000FF;     // red
        s.GradientColor = 0xFF0000; // blue
        s.GradientMode = mode;
        s.ScreenWidth = screen;
        s.ScreenHeight = screen;
        ButtonResources r;
        return paint(s, r);
    };
    const QImage m1 = draw(GradientMode::LeftToRight), m2 = draw(GradientMode::RightToLeft),
                 m3 = draw(GradientMode::TopToBottom), m4 = draw(GradientMode::BottomToTop);
    // Mode 1: first colour at the left, second at the right; mode 2 the mirror.
    EXPECT_GT(red(at(m1, 2, h / 2)), 240);
    EXPECT_GT(blue(at(m1, w - 3, h / 2)), 240);
    for (int x = 1; x < w - 1; ++x)
        EXPECT_EQ(at(m2, x, h / 2), at(m1, w - 1 - x, h / 2)) << x;
    // Mode 3: first colour at the top, second at the bottom; mode 4 the mirror.
    EXPECT_GT(red(at(m3, w / 2, 2)), 230);
    EXPECT_GT(blue(at(m3, w / 2, h - 3)), 230);
    for (int y = 1; y < h - 1; ++y)
        EXPECT_EQ(at(m4, w / 2, y), at(m3, w / 2, h - 1 - y)) << y;
    // Across the gradient the colour does not change.
    EXPECT_EQ(at(m1, 20, 5), at(m1, 20, 20));
    EXPECT_EQ(at(m3, 10, 12), at(m3, 40, 12));

    // A button wider than a quarter of the screen uses two-pixel bands.
    const QImage wide = draw(GradientMode::LeftToRight, 200);
    for (int x = 2; x < w - 2; x += 2)
        EXPECT_EQ(at(wide, x, h / 2), at(wide, x + 1, h / 2)) << x;
    EXPECT_NE(at(wide, 10, h / 2), at(wide, 12, h / 2));
}

TEST_F(PaintPipeline, TwoPixelBandsOverAnOddWidthLeaveNoColumnUnpainted)
{
    ButtonPaintState s =
        state(61, 20, Style::FlatUntilHover); // style 5 at rest draws no edges over the gradient
    s.Caption.clear();
    s.BackColor = 0x0000FF;
    s.GradientColor = 0xFF0000;
    s.GradientMode = GradientMode::LeftToRight;
    s.ScreenWidth = 200;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_EQ(at(image, 60, 10), at(image, 59, 10));
    EXPECT_GT(blue(at(image, 60, 10)), 240);
}

TEST_F(PaintPipeline, Style2ShadesItsFaceRowByRow)
{
    ButtonPaintState s = state(73, 39, Style::Rounded);
    s.BackColor = 0x808080;
    ButtonResources r;
    const QImage image = paint(s, r);
    const PaintColor fill = C::Shift(0x808080, 48, true); // the style-2 back colour
    for (int y = 3; y < 36; ++y) {
        const int amount = int(std::nearbyint(-25.0 * y / 39));
        EXPECT_EQ(at(image, 36, y), C::Shift(fill, amount, true)) << "row " << y;
    }
    EXPECT_LT(red(at(image, 36, 35)), red(at(image, 36, 3)) - 15);

    // A disabled push button is flat, in the darkened face.
    s.Enabled = false;
    const QImage flat = paint(s, r);
    EXPECT_EQ(at(flat, 36, 4), C::Shift(fill, -24, true));
    EXPECT_EQ(at(flat, 36, 34), C::Shift(fill, -24, true));
}

TEST_F(PaintPipeline, ValueOnShowsNoGradient)
{
    ButtonPaintState s = state(60, 30, Style::Classic);
    s.Mode = Mode::Check;
    s.Value = true;
    s.GradientMode = GradientMode::LeftToRight;
    s.BackColor = 0x0000FF;
    s.GradientColor = 0xFF0000;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_EQ(at(image, 5, 15), C::Shift(0xFFFFFF, -32));
    EXPECT_EQ(at(image, 50, 15), C::Shift(0xFFFFFF, -32));
}

// At rest the one-pixel ring outside the shape region keeps the white-over-grey gradient of the
// region build; pushed or on, the ring between the shape and the inner region turns grey over white.
class EllipticRings : public PaintPipeline, public ::testing::WithParamInterface<Shape> {};

TEST_P(EllipticRings, RaisedAtRestSunkenWhenPushed)
{
    const Shape shape = GetParam();
    ButtonPaintState s = state(80, 40, Style::Classic);
    s.ButtonShape = shape;
    s.Caption.clear();
    ButtonResources r;
    const QImage rest = paint(s, r);
    EXPECT_GT(red(at(rest, 40, 0)), red(at(rest, 40, 39)) + 80) << "shape " << shape;
    EXPECT_EQ(at(rest, 40, 1), C::TranslateColor(s.BackColor));

    s.StateFlags = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
    s.Hovering = true;
    const QImage pushed = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_LT(red(at(pushed, 40, 1)) + 80, red(at(pushed, 40, 38))) << "shape " << shape;
    // Inside the ring the face keeps its colour.
    EXPECT_EQ(at(pushed, 40, 20), C::TranslateColor(s.BackColor));
}

INSTANTIATE_TEST_SUITE_P(PaintPipeline, EllipticRings,
                         ::testing::Values(Shape::Ellipse, Shape::EllipseNoCaption), [](const auto& info) {
                             return "Shape" + std::to_string(button::toInt(info.param));
                         });

TEST_F(PaintPipeline, ANewSurfaceKeepsTheRingOutsideTheShape)
{
    ButtonPaintState s = state(80, 40, Style::Classic);
    s.ButtonShape = Shape::Ellipse;
    ButtonResources r;
    paint(s, r);
    s.Width = 81; // resized while drawing was delayed: no region build before this redraw
    const QImage image = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_GT(red(at(image, 40, 0)), 200);
}

TEST_F(PaintPipeline, CheckBoxThatIsOnShowsTheSunkenRing)
{
    ButtonPaintState s = state(80, 40, Style::Classic);
    s.ButtonShape = Shape::Ellipse;
    s.Mode = Mode::Check;
    s.Value = true;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_LT(red(at(image, 40, 1)) + 80, red(at(image, 40, 38)));
    EXPECT_EQ(at(image, 20, 20), C::Shift(0xFFFFFF, -32));
}

TEST_F(PaintPipeline, OutsideAnEllipseTheWindowShapeEnds)
{
    ButtonPaintState s = state(80, 40, Style::Classic);
    s.ButtonShape = Shape::Ellipse;
    ButtonResources r;
    const ButtonShape shape = ButtonPainter::BuildRegions(s, r);
    EXPECT_FALSE(shape.windowShape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.windowShape.contains(QPoint(40, 0)));
    EXPECT_TRUE(shape.windowShape.contains(QPoint(0, 20)));
    EXPECT_FALSE(r.shapeRegion.contains(QPoint(40, 0)));
    EXPECT_FALSE(r.innerRegion.contains(QPoint(40, 1)));
    EXPECT_TRUE(r.innerRegion.contains(QPoint(40, 2)));
}

TEST_F(PaintPipeline, NothingIsDrawnForAnEmptyClient)
{
    ButtonPaintState s = state(0, 0);
    ButtonResources r;
    EXPECT_TRUE(ButtonPainter::RedrawButton(s, r).image.isNull());
}

} // namespace
} // namespace ktv::test
