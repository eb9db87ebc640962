// Pixel tests of the button styles: the edge rings of each look, the style-2 hot and focus
// colours, the flat style 5, and the focus rectangle.
#include "PaintSupport.h"

#include "ui/controls/button/paint/ButtonColors.h"

#include <tuple>

namespace ktv::test {
namespace {

using C = ButtonColors;
constexpr PaintColor Face = 0xC8D0D4; // the pinned button face (212, 208, 200)
constexpr PaintColor Light = 0xE9E9E9;
constexpr PaintColor Grey = 0x808080;
constexpr PaintColor White = 0xFFFFFF;
constexpr PaintColor Black = 0;

constexpr button::States kRest = {};
constexpr button::States kDefault = ButtonPaintState::StateDefault;
constexpr button::States kHover = ButtonPaintState::StateHover;
constexpr button::States kPushed = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;

class PaintStyles : public PaintTest {
public:
    // The four sides of the rings of a 40 x 20 button: outer (0), middle (1), inner (2).
    struct Ring {
        PaintColor left, top, right, bottom;
        bool operator==(const Ring&) const = default;
    };

protected:
    static Ring ring(const QImage& image, int inset)
    {
        const int w = image.width(), h = image.height();
        return {at(image, inset, h / 2), at(image, w / 2, inset), at(image, w - 1 - inset, h / 2),
                at(image, w / 2, h - 1 - inset)};
    }
    static ButtonPaintState plain(Style style)
    {
        ButtonPaintState s = state(40, 20, style);
        s.Caption.clear();
        return s;
    }
};

void PrintTo(const PaintStyles::Ring& r, std::ostream* os)
{
    *os << std::hex << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

struct Style0Row {
    const char* name;
    Mode mode;
    bool value;
    button::States flags;
    PaintStyles::Ring outer, middle, inner;
};

void PrintTo(const Style0Row& row, std::ostream* os) { *os << row.name; }

class Style0Looks : public PaintStyles, public ::testing::WithParamInterface<Style0Row> {};

TEST_P(Style0Looks, RingByRing)
{
    const Style0Row& c = GetParam();
    ButtonPaintState s = plain(Style::Classic);
    s.Mode = c.mode;
    s.Value = c.value;
    s.StateFlags = c.flags;
    s.Hovering = c.flags.testFlag(ButtonPaintState::StateHover);
    s.ShowFocusRect = true;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_EQ(ring(image, 0), c.outer) << c.name;
    EXPECT_EQ(ring(image, 1), c.middle) << c.name;
    EXPECT_EQ(ring(image, 2), c.inner) << c.name;
}

const PaintColor kCheckOn = C::Shift(0xFFFFFF, -32);
const Style0Row kStyle0Rows[] = {
    {"Rest",
     Mode::Command,
     false,
     kRest,
     {White, White, Black, Black},
     {Light, Light, Grey, Grey},
     {Face, Face, Face, Face}},
    {"Default",
     Mode::Command,
     false,
     kDefault,
     {Black, Black, Black, Black},
     {White, White, Black, Black},
     {Light, Light, Grey, Grey}},
    {"Pushed",
     Mode::Command,
     false,
     kPushed,
     {White, White, Black, Black},
     {Face, Face, Grey, Grey},
     {Face, Face, Face, Face}},
    {"CheckOn",
     Mode::Check,
     true,
     kRest,
     {Black, Black, White, White},
     {kCheckOn, kCheckOn, Light, Light},
     {kCheckOn, kCheckOn, kCheckOn, kCheckOn}},
};
INSTANTIATE_TEST_SUITE_P(PaintStyles, Style0Looks, ::testing::ValuesIn(kStyle0Rows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintStyles, DefaultButtonShowsTheDottedFocusRectangle)
{
    ButtonPaintState s = plain(Style::Classic);
    s.StateFlags = ButtonPaintState::StateDefault;
    ButtonResources r;
    const QImage image = paint(s, r);
    const PaintColor inverted = PaintColor(~Face & 0xFFFFFF);
    EXPECT_EQ(at(image, 3, 3), inverted);
    EXPECT_EQ(at(image, 4, 3), Face);
    EXPECT_EQ(at(image, 5, 3), inverted);
    EXPECT_EQ(at(image, 35, 15), inverted); // bottom right corner of the box at width - 4, height - 4
    EXPECT_EQ(at(image, 36, 16), Face);
}

struct Style2Row {
    const char* name;
    button::States flags;
    bool hovering, showFocus;
    PaintColor inner[4], middle[4];
};

void PrintTo(const Style2Row& row, std::ostream* os) { *os << row.name; }

class Style2Colours : public PaintStyles, public ::testing::WithParamInterface<Style2Row> {};

TEST_P(Style2Colours, NormalHotAndFocus)
{
    const Style2Row& c = GetParam();
    ButtonPaintState s = plain(Style::Rounded);
    s.StateFlags = c.flags;
    s.Hovering = c.hovering;
    s.ShowFocusRect = c.showFocus;
    ButtonResources r;
    const QImage image = paint(s, r);
    EXPECT_EQ(ring(image, 2), (Ring{c.inner[0], c.inner[1], c.inner[2], c.inner[3]})) << c.name;
    EXPECT_EQ(ring(image, 1), (Ring{c.middle[0], c.middle[1], c.middle[2], c.middle[3]})) << c.name;
    EXPECT_EQ(ring(image, 0), (Ring{0x733C00, 0x733C00, 0x733C00, 0x733C00})) << c.name;
}

const PaintColor kStyle2Base = C::Shift(Face, 48, true);
const Style2Row kStyle2Rows[] = {
    {"Rest",
     kRest,
     false,
     true,
     {C::Shift(kStyle2Base, -10, true), C::Shift(kStyle2Base, 10, true), C::Shift(kStyle2Base, -24, true),
      C::Shift(kStyle2Base, -32, true)},
     {C::Shift(kStyle2Base, -5, true), C::Shift(kStyle2Base, 16, true), C::Shift(kStyle2Base, -36, true),
      C::Shift(kStyle2Base, -48, true)}},
    {"Hot",
     kHover,
     true,
     true,
     {0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF},
     {0x31B2FF, 0xA6E9FF, 0x31B2FF, 0x96E7}},
    {"Focus",
     kDefault,
     false,
     true,
     {0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C},
     {0xE7AE8C, 0xFFDFBF, 0xE7AE8C, 0xEF826B}},
    {"FocusWithoutRectangle",
     kDefault,
     false,
     false,
     {C::Shift(kStyle2Base, -10, true), C::Shift(kStyle2Base, 10, true), C::Shift(kStyle2Base, -24, true),
      C::Shift(kStyle2Base, -32, true)},
     {C::Shift(kStyle2Base, -5, true), C::Shift(kStyle2Base, 16, true), C::Shift(kStyle2Base, -36, true),
      C::Shift(kStyle2Base, -48, true)}},
};
INSTANTIATE_TEST_SUITE_P(PaintStyles, Style2Colours, ::testing::ValuesIn(kStyle2Rows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaintStyles, Style2DisabledDrawsOnlyItsOuterRing)
{
    ButtonPaintState s = plain(Style::Rounded);
    s.Enabled = false;
    ButtonResources r;
    const QImage image = paint(s, r);
    const PaintColor base = C::Shift(Face, 48, true);
    const PaintColor outer = C::Shift(base, -84, true);
    EXPECT_EQ(ring(image, 0), (Ring{outer, outer, outer, outer}));
    const PaintColor face = C::Shift(base, -24, true); // flat, darkened
    EXPECT_EQ(ring(image, 1), (Ring{face, face, face, face}));
}

TEST_F(PaintStyles, Style5IsFlatUntilHovered)
{
    ButtonPaintState s = plain(Style::FlatUntilHover);
    ButtonResources r;
    const QImage rest = paint(s, r);
    EXPECT_EQ(ring(rest, 0), (Ring{Face, Face, Face, Face}));

    s.StateFlags = ButtonPaintState::StateHover;
    s.Hovering = true;
    const QImage hover = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_EQ(ring(hover, 0), (Ring{White, White, Grey, Grey}));
    EXPECT_EQ(ring(hover, 1), (Ring{Face, Face, Face, Face}));

    s.StateFlags = ButtonPaintState::StateHover | ButtonPaintState::StatePressed;
    const QImage pushed = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_EQ(ring(pushed, 0), (Ring{Grey, Grey, White, White}));

    // In the designer the resting button keeps an outline so it can be found.
    s.StateFlags = {};
    s.Hovering = false;
    s.DesignMode = true;
    s.ContainerBackColor = 0xC0C0C0;
    const QImage designer = ButtonPainter::RedrawButton(s, r).image;
    const PaintColor edge = C::Shift(0xC0C0C0, -64);
    EXPECT_EQ(ring(designer, 0), (Ring{edge, edge, edge, edge}));
}

// A smoke test over the table of styles, shapes, modes and states: nothing is left black where
// the face should be, and no redraw fails.
class EveryStyleAndShape : public PaintStyles,
                           public ::testing::WithParamInterface<std::tuple<Style, Shape, button::States>> {};

TEST_P(EveryStyleAndShape, PaintsTheWholeButton)
{
    const auto [style, shape, flags] = GetParam();
    ButtonPaintState s = state(70, 30, style);
    s.ButtonShape = shape;
    s.StateFlags = flags;
    s.Hovering = flags.testFlag(ButtonPaintState::StateHover);
    s.Caption = QStringLiteral("Kapat");
    ButtonResources r;
    ButtonPainter::BuildRegions(s, r);
    const ButtonRedraw out = ButtonPainter::RedrawButton(s, r);
    ASSERT_FALSE(out.image.isNull()) << style << "/" << shape;
    if (!flags.testFlag(
            ButtonPaintState::StateDefault)) { // the default look may draw a black focus outline here
        EXPECT_NE(at(out.image, 35, 6), Black)
            << "style " << style << " shape " << shape << " flags " << int(flags);
    }
}

INSTANTIATE_TEST_SUITE_P(
    PaintStyles, EveryStyleAndShape,
    ::testing::Combine(::testing::Values(Style::Classic, Style::DoubleBevel, Style::Rounded, Style::Etched,
                                         Style::ThinRing, Style::FlatUntilHover, Style::SoftDoubleRing,
                                         Style::RoundedSoft),
                       ::testing::Values(Shape::Rectangle, Shape::SlantLeft, Shape::SlantRight,
                                         Shape::Parallelogram, Shape::Ellipse, Shape::EllipseNoCaption,
                                         Shape::EllipseFramed),
                       ::testing::Values(kRest, kDefault, kHover, kPushed)),
    [](const auto& info) {
        return "Style" + std::to_string(button::toInt(std::get<0>(info.param))) + "_Shape" +
               std::to_string(button::toInt(std::get<1>(info.param))) + "_Flags" +
               std::to_string(std::get<2>(info.param).toInt());
    });

TEST_F(PaintStyles, ChangingBetweenStyle2AndAnotherChangesTheFace)
{
    ButtonPaintState s = plain(Style::Classic);
    ButtonResources r;
    const QImage flat = paint(s, r);
    s.ButtonStyle = Style::Rounded;
    const QImage rounded = paint(s, r);
    EXPECT_EQ(at(flat, 20, 5), Face);
    EXPECT_EQ(at(rounded, 20, 3),
              C::Shift(C::Shift(Face, 48, true), int(std::nearbyint(-25.0 * 3 / 20)), true));
}

} // namespace
} // namespace ktv::test

namespace ktv::test {
namespace {

class PaintFrames : public PaintTest {};

// The frame drawn on the window after presenting: style 2 ellipses frame their shape region in
// the hot colour under the mouse and in the focus colour as default button; shape 6 is framed in
// black while hovered.
struct FrameRow {
    const char* name;
    Style style;
    Shape shape;
    button::States flags;
    bool hovering;
    QPoint pixel;
    PaintColor expected; // -1: the face shows, no frame
};

void PrintTo(const FrameRow& row, std::ostream* os) { *os << row.name; }

class EllipseFrames : public PaintFrames, public ::testing::WithParamInterface<FrameRow> {};

TEST_P(EllipseFrames, AreDrawnByLookAfterPresenting)
{
    const FrameRow& c = GetParam();
    ButtonPaintState s = state(80, 40, c.style);
    s.ButtonShape = c.shape;
    s.Caption.clear();
    s.StateFlags = c.flags;
    s.Hovering = c.hovering;
    ButtonResources r;
    const ButtonRedraw out = [&] {
        ButtonPainter::BuildRegions(s, r);
        return ButtonPainter::RedrawButton(s, r);
    }();
    const PaintColor got = at(out.image, c.pixel.x(), c.pixel.y());
    if (c.expected >= 0) {
        EXPECT_EQ(got, c.expected) << c.name;
    } else {
        EXPECT_NE(got, 0x96E7) << c.name;
        EXPECT_NE(got, 0xEF826B) << c.name;
        EXPECT_NE(got, 0) << c.name;
    }
}

const FrameRow kFrames[] = {
    {"Style2Hot", Style::Rounded, Shape::Ellipse, kHover, true, {40, 1}, 0x96E7},
    {"Style2Default", Style::Rounded, Shape::Ellipse, kDefault, false, {40, 1}, 0xEF826B},
    {"Style2Rest", Style::Rounded, Shape::Ellipse, kRest, false, {40, 1}, -1},
    {"Shape6Hovered", Style::Classic, Shape::EllipseFramed, kHover, true, {40, 0}, 0},
    {"Shape6Rest", Style::Classic, Shape::EllipseFramed, kRest, false, {40, 0}, -1},
};
INSTANTIATE_TEST_SUITE_P(PaintFrames, EllipseFrames, ::testing::ValuesIn(kFrames),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ktv::test

namespace ktv::test {
namespace {

TEST_F(PaintFrames, CustomShapesAreFramedInTheHoverColourAndAsDefaultButton)
{
    QImage pic(30, 30, QImage::Format_RGB32);
    pic.fill(qRgb(255, 0, 255));
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 25; ++x)
            pic.setPixel(x, y, qRgb(0, 0, 255));
    ButtonPaintState s = state(30, 30, Style::Classic);
    s.Picture = pic;
    s.PictureSize = 48;
    s.ButtonShape = Shape::PictureFramed;
    s.Caption.clear();
    s.BackColor = 0x00FF00;
    s.HoverBackColor = 0x00FFFF;
    ButtonResources r;
    ButtonPainter::BuildRegions(s, r);

    s.StateFlags = ButtonPaintState::StateHover;
    s.Hovering = true;
    EXPECT_EQ(at(ButtonPainter::RedrawButton(s, r).image, 15, 5), 0x00FFFF); // the window shape's edge

    s.StateFlags = ButtonPaintState::StateDefault;
    s.Hovering = false;
    const QImage focused = ButtonPainter::RedrawButton(s, r).image;
    EXPECT_EQ(at(focused, 15, 6), 0); // the shape region's edge, in the black frame colour
    EXPECT_EQ(at(focused, 15, 5), 0x00FF00);
}

} // namespace
} // namespace ktv::test
