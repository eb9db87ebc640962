// The eight visual styles of qvButtons_H.
#include "ui/controls/button/paint/ButtonStyles.h"

#include "ui/controls/button/paint/ButtonContent.h"

#include <algorithm>
#include <cmath>

namespace ktv {

using button::GradientMode;
using button::Mode;
using button::PaintCode;
using button::Shape;
using button::Style;

namespace {

using C = ButtonColors;
constexpr PaintColor White = C::White;
constexpr PaintColor Black = C::Black;
constexpr PaintColor Grey = C::Grey;

PaintColor shift(PaintColor c, int amount, bool p = false) { return C::Shift(c, amount, p); }

constexpr PaintColor Light = 0xE9E9E9;

// The colours the tables of styles 0 and 1 name; none leaves the side undrawn.
enum class Ink { None, Light, Grey, White, Black, WhiteBlackIfDefault };

// Style 0 (classic raised 3-D) by look: normal, default, pushed, and on or held.
struct Style0Row {
    Ink normal, byDefault, pushed, on;

    constexpr Ink at(button::Look look) const
    {
        switch (look) {
        case button::Look::Normal: return normal;
        case button::Look::Default: return byDefault;
        case button::Look::Pushed: return pushed;
        case button::Look::Hot: return on;
        }
        return Ink::None;
    }
};
// Entries 1 and 2, 3 and 4 (the inner ring), 5 to 8 (the middle ring) and 9 to 12 (the outer ring).
constexpr Style0Row Style0InnerLeftTop = {Ink::None, Ink::Light, Ink::None, Ink::None};
constexpr Style0Row Style0InnerRightBottom = {Ink::None, Ink::Grey, Ink::None, Ink::None};
constexpr Style0Row Style0MiddleLeftTop = {Ink::Light, Ink::White, Ink::None, Ink::None};
constexpr Style0Row Style0MiddleRightBottom = {Ink::Grey, Ink::Black, Ink::Grey, Ink::Light};
constexpr Style0Row Style0OuterLeftTop = {Ink::White, Ink::Black, Ink::WhiteBlackIfDefault, Ink::Black};
constexpr Style0Row Style0OuterRightBottom = {Ink::Black, Ink::Black, Ink::Black, Ink::White};

// Style 1 (double soft bevel in a black frame) by look: normal and default alike, pushed.
struct Style1Row {
    Ink normal, pushed;
};
constexpr Style1Row Style1LeftTop = {Ink::White, Ink::Grey};     // entries 1, 2, 5, 6
constexpr Style1Row Style1RightBottom = {Ink::Grey, Ink::White}; // entries 3, 4, 7, 8
constexpr Style1Row Style1Outer = {Ink::Black, Ink::Black};      // entries 9 to 12

// Style 2 (rounded, blue-framed): entries 1 to 8 by look. The normal and pushed looks shift the
// base colour (proportional blue); the focus and hot looks have colours of their own.
struct Style2Entry {
    int normalShift;
    PaintColor focus;
    int pushedShift;
    PaintColor hot;
};
constexpr Style2Entry Style2Entries[8] = {
    {-10, 0xF0D1B5, -22, 0x6BCBFF}, // 1
    {+10, 0xF7D7BD, -24, 0x8CDBFF}, // 2
    {-24, 0xF0D1B5, -24, 0x6BCBFF}, // 3
    {-32, 0xE7AE8C, +10, 0x31B2FF}, // 4
    {-5, 0xE7AE8C, -32, 0x31B2FF},  // 5
    {+16, 0xFFDFBF, -32, 0xA6E9FF}, // 6
    {-36, 0xE7AE8C, +5, 0x31B2FF},  // 7
    {-48, 0xEF826B, +16, 0x96E7},   // 8
};
constexpr PaintColor Style2Frame = 0x733C00;        // entries 9 to 12
constexpr PaintColor Style2HoverFrame = 0x96E7;     // orange
constexpr PaintColor Style2DefaultFrame = 0xEF826B; // blue
constexpr PaintColor Style3Focus = 0xCC9999;

std::optional<PaintColor> inkColor(Ink ink, bool isDefault)
{
    switch (ink) {
    case Ink::None: return std::nullopt;
    case Ink::Light: return Light;
    case Ink::Grey: return Grey;
    case Ink::White: return White;
    case Ink::Black: return Black;
    case Ink::WhiteBlackIfDefault: return isDefault ? Black : White;
    }
    return std::nullopt;
}

// Entry 1 to 8 of the inner and middle rings: left, top, right, bottom of each.
std::optional<PaintColor>& innerEntry(EdgeColors& c, int entry)
{
    EdgeRing& ring = entry <= 4 ? c.inner : c.middle;
    switch ((entry - 1) % 4) {
    case 0: return ring.left;
    case 1: return ring.top;
    case 2: return ring.right;
    default: return ring.bottom;
    }
}

} // namespace

ButtonStyles::ButtonStyles(ButtonPainter& painter) : m_p(painter), m_s(painter.state()), m_r(painter.res()) {}

void ButtonStyles::RefreshColors()
{
    const PaintColor back = C::TranslateColor(m_s.BackColor);
    const PaintColor hover = C::TranslateColor(m_s.HoverBackColor);
    switch (m_s.ButtonStyle) {
    case Style::Rounded:
        m_r.backRGB = shift(back, 48, true);
        m_r.shadeRGB = shift(m_r.backRGB, -32, true);
        m_r.hoverRGB = shift(hover, 48, true);
        m_r.valueOnRGB = shift(White, -32, true);
        break;
    case Style::Etched:
        m_r.backRGB = back;
        m_r.shadeRGB = shift(Grey, 12);
        m_r.hoverRGB = hover;
        m_r.valueOnRGB = shift(m_r.shadeRGB, 31);
        break;
    case Style::RoundedSoft:
        m_r.backRGB = shift(back, 31);
        m_r.shadeRGB = shift(Grey, -16);
        m_r.hoverRGB = shift(hover, 31);
        m_r.valueOnRGB = shift(Grey, 16, true);
        break;
    default:
        m_r.backRGB = back;
        m_r.shadeRGB = back;
        m_r.hoverRGB = hover;
        m_r.valueOnRGB = shift(White, -32);
        break;
    }
}

void ButtonStyles::PaintStyle(EdgePoints& points, EdgeColors& colors, button::Look& look,
                              PaintCode& paintCode)
{
    const Style style = m_s.ButtonStyle;
    const bool check = m_s.isCheck();
    const bool on = check && m_s.Value;
    const bool pushed = m_s.isPushed();
    const Shape shape = m_s.ButtonShape;

    // 1. Face and gradient colours.
    PaintColor face = on ? m_r.valueOnRGB : m_r.backRGB;
    PaintColor gradient = C::TranslateColor(m_s.GradientColor);
    if ((style == Style::Etched || style == Style::RoundedSoft) && !check && pushed)
        face = m_r.shadeRGB;
    if (style == Style::RoundedSoft && m_s.GradientMode != GradientMode::None) {
        gradient = shift(gradient, 31);
        if (!check && pushed) {
            // A pushed button shows no gradient: it is painted flat in the back colour.
            face = m_r.backRGB;
            gradient = m_r.backRGB;
        }
    }
    if (style == Style::Rounded && !check) {
        face = m_r.backRGB;
        if (!m_s.Enabled)
            face = shift(m_r.backRGB, -24, true);
        else if (pushed && m_s.GradientMode == GradientMode::None)
            face = m_r.shadeRGB;
    }
    if (style == Style::Rounded && m_s.GradientMode != GradientMode::None)
        gradient = shift(gradient, 48, true);

    // 2. Background.
    m_p.DrawBackground(face, look, paintCode, gradient, m_r.hoverRGB);
    if (paintCode == PaintCode::Nothing)
        return;

    // 3, 4. Picture and caption.
    const bool enabled = m_s.Enabled;
    PaintColor disabledColor = -1;
    switch (style) {
    case Style::Rounded: disabledColor = enabled ? -1 : shift(face, -104, true); break;
    case Style::Etched: disabledColor = enabled ? Grey : shift(Grey, -16); break;
    case Style::RoundedSoft:
        // Style 7 draws its caption in this colour when it has no gradient or is on: the fore
        // colour while enabled, a soft grey while disabled.
        disabledColor = enabled ? C::TranslateColor(m_s.ForeColor) : shift(Grey, 16, true);
        break;
    default: disabledColor = (!enabled && check) ? Grey : -1; break;
    }
    ButtonContent(m_p).DrawContent(face, disabledColor, m_s.Value, check);

    // 5. Edge lines (shapes 0 to 3 only).
    if (shape <= Shape::Parallelogram) {
        colors = EdgeColorsFor(look, face);
        DrawEdges(points, colors);
        if (style == Style::Rounded || style == Style::RoundedSoft)
            roundCorners(style, colors.outer.bottom);
    }

    // 6. Paint code and frame colour.
    if (style == Style::Rounded) {
        if (shape >= Shape::Ellipse) {
            if (m_s.Hovering)
                colors.outer.bottom = Style2HoverFrame;
            else if (m_s.isDefault())
                colors.outer.bottom = Style2DefaultFrame;
            else
                paintCode = PaintCode::Unclipped;
        } else {
            paintCode = PaintCode::Unclipped;
        }
    } else if (shape <= Shape::EllipseNoCaption ||
               (shape == Shape::EllipseFramed && !m_s.Hovering && !pushed)) {
        paintCode = PaintCode::Unclipped;
    } else {
        colors.outer.bottom = Black;
    }

    // 7. Focus (style 2 shows focus through its look 1 colours).
    if (style != Style::Rounded)
        DrawFocus(style == Style::Etched ? Style3Focus : -1, m_s.Value, enabled);
}

EdgeColors ButtonStyles::EdgeColorsFor(button::Look& look, PaintColor face) const
{
    using button::Look;
    const bool check = m_s.isCheck();
    const bool heldOrOn = check && (m_s.Held || m_s.Value);
    const bool enabled = m_s.Enabled;
    EdgeColors c;
    switch (m_s.ButtonStyle) {
    case Style::Classic: {
        if (heldOrOn)
            look = Look::Hot;
        const auto bevel = [&](const Style0Row& leftTop, const Style0Row& rightBottom) {
            return EdgeRing::bevel(inkColor(leftTop.at(look), m_s.isDefault()),
                                   inkColor(rightBottom.at(look), m_s.isDefault()));
        };
        c.inner = bevel(Style0InnerLeftTop, Style0InnerRightBottom);
        c.middle = bevel(Style0MiddleLeftTop, Style0MiddleRightBottom);
        c.outer = bevel(Style0OuterLeftTop, Style0OuterRightBottom);
        break;
    }
    case Style::DoubleBevel: {
        look = heldOrOn ? Look::Pushed : std::max(look, Look::Default);
        const bool pushed = look == Look::Pushed;
        const auto ink = [&](const Style1Row& row) {
            return inkColor(pushed ? row.pushed : row.normal, false);
        };
        c.inner = c.middle = EdgeRing::bevel(ink(Style1LeftTop), ink(Style1RightBottom));
        c.outer = EdgeRing::bevel(ink(Style1Outer), ink(Style1Outer));
        break;
    }
    case Style::Rounded: {
        const PaintColor base = (check && m_s.Value) ? m_r.valueOnRGB : m_r.backRGB;
        if (heldOrOn)
            look = m_s.isDefault() ? Look::Default : Look::Pushed;
        if (m_s.isHoverLook() && !m_s.isPressed())
            look = Look::Hot;
        else if (look == Look::Default && !m_s.ShowFocusRect)
            look = Look::Normal;
        if (!enabled) {
            c.outer = EdgeRing::all(shift(base, -84, true));
            break;
        }
        for (int entry = 1; entry <= 8; ++entry) {
            const Style2Entry& e = Style2Entries[entry - 1];
            switch (look) {
            case Look::Normal: innerEntry(c, entry) = shift(base, e.normalShift, true); break;
            case Look::Default: innerEntry(c, entry) = e.focus; break;
            case Look::Pushed: innerEntry(c, entry) = shift(base, e.pushedShift, true); break;
            case Look::Hot: innerEntry(c, entry) = e.hot; break;
            }
        }
        c.outer = EdgeRing::all(Style2Frame);
        break;
    }
    case Style::Etched: {
        const PaintColor dark = shift(Grey, -26);
        if (enabled || check) {
            if (check)
                look = heldOrOn ? Look::Pushed : Look::Hot;
            if (look < Look::Pushed)
                look = Look::Default;
            const PaintColor light = look == Look::Pushed ? face : White;
            c.middle = EdgeRing::bevel(light, dark);
            c.outer = EdgeRing::bevel(dark, White);
        } else {
            c.inner = c.middle = EdgeRing::all(face);
            c.outer = EdgeRing::all(dark);
        }
        break;
    }
    case Style::ThinRing:
        look = heldOrOn ? Look::Pushed : std::max(look, Look::Default);
        c.outer = look == Look::Pushed ? EdgeRing::bevel(Grey, White) : EdgeRing::bevel(White, Grey);
        break;
    case Style::FlatUntilHover:
        if (!m_s.isHoverLook() && !m_s.Value) {
            if (m_s.DesignMode) {
                // Keeps the flat button visible in the designer.
                PaintColor edge = shift(PaintColor(m_s.ContainerBackColor & 0xFFFFFF), -64);
                if (edge == Black)
                    edge = White;
                c.outer = EdgeRing::all(edge);
            }
            break;
        }
        look = heldOrOn ? Look::Pushed : std::max(look, Look::Default);
        c.outer = look == Look::Pushed ? EdgeRing::bevel(Grey, White) : EdgeRing::bevel(White, Grey);
        break;
    case Style::SoftDoubleRing: {
        const PaintColor light = shift(0xDFDFDF, 8);
        look = (heldOrOn || m_s.isPushed()) ? Look::Default : Look::Normal;
        const PaintColor a = look == Look::Normal ? light : Grey;
        const PaintColor b = look == Look::Normal ? Grey : light;
        c.middle = c.outer = EdgeRing::bevel(a, b);
        break;
    }
    case Style::RoundedSoft: {
        // A soft raised (or, pushed and on, sunken) double bevel from the face, in a dark grey
        // frame.
        const PaintColor hi = shift(face, 31);
        const PaintColor mid = shift(face, -32);
        const PaintColor low = shift(face, -64);
        const PaintColor soft = shift(face, -16);
        if (heldOrOn || look == Look::Pushed) {
            c.inner = EdgeRing::bevel(mid, hi);
            c.middle = EdgeRing::bevel(low, soft);
        } else {
            c.inner = EdgeRing::bevel(hi, mid);
            c.middle = EdgeRing::bevel(soft, low);
        }
        c.outer = EdgeRing::all(shift(Grey, -16));
        break;
    }
    }
    return c;
}

void ButtonStyles::RingPoints(int inset, QPoint* out) const
{
    const int w = m_s.Width, h = m_s.Height;
    const Shape shape = m_s.ButtonShape;
    const bool slantLeft = shape == Shape::SlantLeft || shape == Shape::Parallelogram;
    const bool slantRight = shape == Shape::SlantRight || shape == Shape::Parallelogram;
    const int d = m_r.leftCut;
    const int rightTop = m_r.rightLimit; // x where the top edge ends on a right slant
    // The first and last pixel of row y inside the window shape (Part of the slanted polygon).
    auto leftX = [&](int y) { return slantLeft ? int(std::ceil(double(d) * y / (h + 1))) : 0; };
    auto rightX = [&](int y) {
        return slantRight ? int(std::ceil(rightTop + 1 + double(w - rightTop) * y / (h + 1))) - 1 : w - 1;
    };
    const int top = inset, bottom = h - 1 - inset;
    const int growL = slantLeft ? 2 * inset : inset; // a 45-degree edge moves in faster across
    const int growR = slantRight ? 2 * inset : inset;
    out[0] = QPoint(leftX(bottom) + growL, bottom);
    out[1] = QPoint(leftX(top) + growL, top);
    out[2] = QPoint(rightX(top) - growR, top);
    out[3] = QPoint(rightX(bottom) - growR, bottom);
    out[4] = QPoint(leftX(bottom) + growL - 1, bottom);
}

void ButtonStyles::DrawEdges(EdgePoints& points, const EdgeColors& colors)
{
    RingPoints(2, &points[0]);
    RingPoints(1, &points[5]);
    RingPoints(0, &points[10]);
    // Ring r runs from point 5r: its left, top, right and bottom sides are the four segments from
    // there; the segment to the next ring's first point is a jump and never drawn.
    const EdgeRing* rings[3] = {&colors.inner, &colors.middle, &colors.outer};
    std::optional<PaintColor> last;
    for (int r = 0; r < 3; ++r) {
        const std::optional<PaintColor> sides[4] = {rings[r]->left, rings[r]->top, rings[r]->right,
                                                    rings[r]->bottom};
        for (int side = 0; side < 4; ++side) {
            const std::optional<PaintColor> color = sides[side];
            if (!color)
                continue;
            if (color != last) {
                m_p.SelectTool(true, 1, *color);
                last = color;
            }
            const QPoint a = points[5 * r + side], b = points[5 * r + side + 1];
            m_r.surface.line(a.x(), a.y(), b.x(), b.y());
        }
    }
}

void ButtonStyles::roundCorners(Style style, std::optional<PaintColor> ring)
{
    if (!ring)
        return;
    const PaintColor color = *ring;
    const int w = m_s.Width, h = m_s.Height;
    const Shape shape = m_s.ButtonShape;
    const bool left = !(shape == Shape::SlantLeft || shape == Shape::Parallelogram);
    const bool right = !(shape == Shape::SlantRight || shape == Shape::Parallelogram);
    auto put = [&](int x, int y) { m_r.surface.setPixel(x, y, gdi::ColorRef(color)); };
    if (style == Style::Rounded) {
        if (left) {
            put(1, 1);
            put(1, h - 2);
        }
        if (right) {
            put(w - 2, 1);
            put(w - 2, h - 2);
        }
        return;
    }
    // Style 7: ten pixels, three at the top-left and bottom-right corners, two at the others.
    const QPoint leftCorners[] = {{1, 1}, {2, 1}, {1, 2}, {1, h - 2}, {1, h - 3}};
    const QPoint rightCorners[] = {{w - 2, 1}, {w - 2, 2}, {w - 2, h - 2}, {w - 3, h - 2}, {w - 2, h - 3}};
    if (left)
        for (QPoint p : leftCorners)
            put(p.x(), p.y());
    if (right)
        for (QPoint p : rightCorners)
            put(p.x(), p.y());
}

void ButtonStyles::DrawFocus(PaintColor focusColor, bool value, bool enabled)
{
    if (!m_s.isDefault())
        return;
    const Shape shape = m_s.ButtonShape;
    if (shape == Shape::PictureFramed || shape == Shape::PictureRinged)
        return;
    if (shape >= Shape::Ellipse)
        enabled = true;
    if (!enabled)
        return;
    if (shape >= Shape::SlantLeft && shape <= Shape::Parallelogram) {
        QPoint p[5];
        RingPoints(5, p);
        m_p.SelectTool(true, 1, focusColor < 0 ? Black : focusColor);
        const QPoint path[5] = {p[0], p[1], p[2], p[3], p[0]};
        for (int i = 0; i < 4; ++i)
            m_r.surface.line(path[i].x(), path[i].y(), path[i + 1].x(), path[i + 1].y());
        return;
    }
    const int w = m_s.Width, h = m_s.Height;
    QRect content;
    if (!m_s.Caption.isEmpty())
        content = m_r.captionRect;
    if (m_r.pictureWidth + m_r.pictureHeight > 0 && !m_r.pictureFillsButton)
        content = content.isNull() ? m_r.pictureRect : content.united(m_r.pictureRect);
    int left = 3, top = 3, right = w - 3, bottom = h - 3;
    if (!content.isNull()) {
        left = std::max(content.left() - 2, 3);
        top = std::max(content.top() - 2, 3);
        right = content.right() + 3;
        bottom = content.bottom() + 3;
    }
    right = std::min(right, w - 4);
    bottom = std::min(bottom, h - 4);
    if ((m_s.isPushed() || value) && m_s.ButtonStyle != Style::Etched) {
        ++left, ++top, ++right, ++bottom;
    }
    m_r.surface.focusRect(left, top, right, bottom);
}

} // namespace ktv
