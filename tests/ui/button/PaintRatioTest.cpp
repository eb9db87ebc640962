// The painter at device pixel ratios above 1: every rule paints whole logical pixels, so the
// finer image is the ratio-1 image with each pixel grown to its block (faces, rings, corner cuts,
// gradients, shape frames, focus dots), while captions and pictures use the finer pixels.
#include "PaintSupport.h"

namespace ktv::test {
namespace {

// The device image a ratio-1 image gives when each logical pixel covers its device block.
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

QImage plain(QImage image)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// 2 x 2 device blocks that are not of one colour: upscaled drawing has none.
int splitBlocks(const QImage& image, QRect logical)
{
    int split = 0;
    for (int y = logical.top() * 2; y < (logical.bottom() + 1) * 2; y += 2)
        for (int x = logical.left() * 2; x < (logical.right() + 1) * 2; x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c)
                ++split;
        }
    return split;
}

struct RatioRow {
    const char* name;
    Style style;
    Shape shape;
    Mode mode;
    bool value;
    button::States flags;
    bool hovering;
    GradientMode gradient;
};

constexpr button::States kDefault = ButtonPaintState::StateDefault;
constexpr button::States kHover = ButtonPaintState::StateHover;
constexpr button::States kPushed = ButtonPaintState::StatePressed | ButtonPaintState::StateHover;
constexpr Mode Push = Mode::Command;
constexpr GradientMode Flat = GradientMode::None;

const RatioRow kRatioRows[] = {
    {"Style0", Style::Classic, Shape::Rectangle, Push, false, {}, false, Flat},
    {"Style1Default", Style::DoubleBevel, Shape::Rectangle, Push, false, kDefault, false, Flat},
    {"Style2", Style::Rounded, Shape::Rectangle, Push, false, {}, false, Flat},
    {"Style2Pushed", Style::Rounded, Shape::Rectangle, Push, false, kPushed, true, Flat},
    {"Style3Check", Style::Etched, Shape::Rectangle, Mode::Check, true, {}, false, Flat},
    {"Style4Slanted", Style::ThinRing, Shape::Parallelogram, Push, false, {}, false, Flat},
    {"Style5Hovered", Style::FlatUntilHover, Shape::Rectangle, Push, false, kHover, true, Flat},
    {"Style6Ellipse", Style::SoftDoubleRing, Shape::Ellipse, Push, false, {}, false, Flat},
    {"Style7Gradient",
     Style::RoundedSoft,
     Shape::Rectangle,
     Push,
     false,
     {},
     false,
     GradientMode::TopToBottom},
    {"Style2EllipseFramed", Style::Rounded, Shape::EllipseFramed, Push, false, {}, true, Flat},
    {"Style0GradientAcross",
     Style::Classic,
     Shape::SlantRight,
     Push,
     false,
     {},
     false,
     GradientMode::LeftToRight},
};

class PaintRatio : public PaintTest, public ::testing::WithParamInterface<std::tuple<RatioRow, double>> {};

TEST_P(PaintRatio, RingsFacesAndCutsAreWholeLogicalPixels)
{
    const auto& [row, ratio] = GetParam();
    auto make = [&](double r) {
        ButtonPaintState s = state(41, 23, row.style);
        s.ButtonShape = row.shape;
        s.Mode = row.mode;
        s.Value = row.value;
        s.StateFlags = row.flags;
        s.Hovering = row.hovering;
        s.GradientMode = row.gradient;
        s.GradientColor = 0x0080FF;
        s.ShowFocusRect = true;
        s.DevicePixelRatio = r;
        return s;
    };
    ButtonResources one, fine;
    const QImage atOne = paint(make(1), one);
    const QImage atRatio = paint(make(ratio), fine);
    ASSERT_FALSE(atOne.isNull());
    ASSERT_EQ(atRatio.size(), QSize(qRound(atOne.width() * ratio), qRound(atOne.height() * ratio)));
    EXPECT_EQ(atRatio.devicePixelRatio(), ratio);
    EXPECT_EQ(plain(atRatio), blocks(plain(atOne), ratio));
    EXPECT_EQ(one.windowShape, fine.windowShape) << "the window shape stays in logical pixels";
}

INSTANTIATE_TEST_SUITE_P(Looks, PaintRatio,
                         ::testing::Combine(::testing::ValuesIn(kRatioRows),
                                            ::testing::Values(1.25, 1.5, 2.0)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_x" +
                                    std::to_string(int(std::get<1>(info.param) * 100));
                         });

TEST_F(PaintTest, AtRatioTwoTheCaptionIsDrawnOnTheDevicePixels)
{
    ButtonPaintState s = state(73, 39, Style::Rounded);
    s.CaptionStyle = button::CaptionStyle::Engraved;
    s.Caption = QStringLiteral("İleri >>");
    ButtonResources one, fine;
    const QImage atOne = paint(s, one);
    s.DevicePixelRatio = 2;
    const QImage atTwo = paint(s, fine);
    const QRect captionBox = one.captionRect;
    ASSERT_FALSE(captionBox.isEmpty());
    EXPECT_EQ(fine.captionRect, captionBox) << "the caption keeps its logical place";
    EXPECT_EQ(splitBlocks(atOne.scaled(atOne.size() * 2), captionBox), 0); // what upscaling gives
    EXPECT_GT(splitBlocks(atTwo, captionBox), 20);
    // Outside the caption the two images agree pixel block for pixel block.
    QImage a = plain(atTwo), b = blocks(plain(atOne), 2);
    for (int y = captionBox.top() - 2; y <= captionBox.bottom() + 2; ++y)
        for (int x = 0; x < s.Width; ++x)
            for (int d = 0; d < 4; ++d) {
                a.setPixel(2 * x + d % 2, 2 * y + d / 2, 0);
                b.setPixel(2 * x + d % 2, 2 * y + d / 2, 0);
            }
    EXPECT_EQ(a, b);
}

TEST_F(PaintTest, AtRatioTwoAFinerPictureKeepsItsDetail)
{
    // A 32 x 32 picture of one-pixel stripes on the key colour, shown as the 16-pixel picture.
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x)
            picture.setPixel(x, y, x % 2 ? qRgb(0, 0, 160) : qRgb(250, 250, 0));
    ButtonPaintState s = state(40, 40, Style::Classic);
    s.Picture = picture;
    s.PictureSize = 16;
    s.PictureAlign = PictureAlign::TopCenter;
    ButtonResources one, fine;
    paint(s, one);
    s.DevicePixelRatio = 2;
    const QImage atTwo = paint(s, fine);
    const QRect at = fine.pictureRect;
    ASSERT_FALSE(at.isEmpty());
    EXPECT_EQ(one.pictureRect, at);
    // At ratio 1 each logical pixel shows every other source column; at 2 both columns show.
    EXPECT_GT(splitBlocks(atTwo, at.adjusted(3, 3, -3, -3)), 20);
}

} // namespace
} // namespace ktv::test
