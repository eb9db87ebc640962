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

// Style 2: the focus (look 1) and hot (look 3) colours of entries 1 to 8, and the shifts of the
// normal (look 0) and pushed (look 2) looks.
constexpr int Style2Normal[8] = {-10, 10, -24, -32, -5, 16, -36, -48};
constexpr int Style2Pushed[8] = {-22, -24, -24, 10, -32, -32, 5, 16};
constexpr PaintColor Style2Focus[8] = {0xF0D1B5, 0xF7D7BD, 0xF0D1B5, 0xE7AE8C,
                                       0xE7AE8C, 0xFFDFBF, 0xE7AE8C, 0xEF826B};
constexpr PaintColor Style2Hot[8] = {0x6BCBFF, 0x8CDBFF, 0x6BCBFF, 0x31B2FF,
                                     0x31B2FF, 0xA6E9FF, 0x31B2FF, 0x96E7};
constexpr PaintColor Style2Frame = 0x733C00;
constexpr PaintColor Style2HoverFrame = 0x96E7;
constexpr PaintColor Style2DefaultFrame = 0xEF826B;
constexpr PaintColor Style3Focus = 0xCC9999;

void setRing(EdgeColors& c, int first, PaintColor left, PaintColor top, PaintColor right, PaintColor bottom)
{
    c[first] = left;
    c[first + 1] = top;
    c[first + 2] = right;
    c[first + 3] = bottom;
}

} // namespace

ButtonStyles::ButtonStyles(ButtonPainter& painter) : m_p(painter), m_s(painter.state()), m_r(painter.res()) {}

void ButtonStyles::RefreshColors()
{
    const PaintColor back = C::TranslateColor(m_s.BackColor);
    const PaintColor hover = C::TranslateColor(m_s.HoverBackColor);
    switch (m_s.style()) {
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

void ButtonStyles::PaintStyle(EdgePoints& points, EdgeColors& colors, int& look, PaintCode& paintCode)
{
    const Style style = m_s.style();
    const bool check = m_s.mode() != Mode::Command;
    const bool on = check && m_s.Value;
    const bool pushed = m_s.isPushed();
    const Shape shape = m_s.shape();

    // 1. Face and gradient colours.
    PaintColor face = on ? m_r.valueOnRGB : m_r.backRGB;
    PaintColor gradient = C::TranslateColor(m_s.GradientColor);
    if ((style == Style::Etched || style == Style::RoundedSoft) && !check && pushed)
        face = m_r.shadeRGB;
    if (style == Style::RoundedSoft && m_s.gradient() != GradientMode::None) {
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
        else if (pushed && m_s.gradient() == GradientMode::None)
            face = m_r.shadeRGB;
    }
    if (style == Style::Rounded && m_s.gradient() != GradientMode::None)
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
        EdgeColorsFor(colors, look, face);
        DrawEdges(points, colors, look);
        if (style == Style::Rounded || style == Style::RoundedSoft)
            roundCorners(style, colors[12]);
    }

    // 6. Paint code and frame colour.
    if (style == Style::Rounded) {
        if (shape >= Shape::Ellipse) {
            if (m_s.Hovering)
                colors[12] = Style2HoverFrame;
            else if (m_s.isDefault())
                colors[12] = Style2DefaultFrame;
            else
                paintCode = PaintCode::Unclipped;
        } else {
            paintCode = PaintCode::Unclipped;
        }
    } else if (shape <= Shape::EllipseNoCaption ||
               (shape == Shape::EllipseFramed && !m_s.Hovering && !pushed)) {
        paintCode = PaintCode::Unclipped;
    } else {
        colors[12] = Black;
    }

    // 7. Focus (style 2 shows focus through its look 1 colours).
    if (style != Style::Rounded)
        DrawFocus(style == Style::Etched ? Style3Focus : -1, m_s.Value, enabled);
}

void ButtonStyles::EdgeColorsFor(EdgeColors& c, int& look, PaintColor face) const
{
    const bool check = m_s.mode() != Mode::Command;
    const bool heldOrOn = check && (m_s.Held || m_s.Value);
    const bool enabled = m_s.Enabled;
    switch (m_s.style()) {
    case Style::Classic: {
        PaintColor light = look == 2 ? face : 0xE9E9E9;
        if (heldOrOn) {
            look = 3;
            light = 0xE9E9E9;
        }
        switch (look) {
        case 0:
            setRing(c, 1, -1, -1, -1, -1);
            setRing(c, 5, light, light, Grey, Grey);
            break;
        case 1:
            setRing(c, 1, light, light, Grey, Grey);
            setRing(c, 5, White, White, Black, Black);
            break;
        case 2:
            setRing(c, 1, -1, -1, -1, -1);
            setRing(c, 5, -1, -1, Grey, Grey);
            break;
        default:
            setRing(c, 1, -1, -1, -1, -1);
            setRing(c, 5, -1, -1, light, light);
            break;
        }
        if (heldOrOn)
            setRing(c, 9, Black, Black, White, White);
        else if (m_s.isDefault())
            setRing(c, 9, Black, Black, Black, Black);
        else
            setRing(c, 9, White, White, Black, Black);
        break;
    }
    case Style::DoubleBevel:
        look = heldOrOn ? 2 : std::max(look, 1);
        if (look == 2) {
            setRing(c, 1, Grey, Grey, White, White);
            setRing(c, 5, Grey, Grey, White, White);
        } else {
            setRing(c, 1, White, White, Grey, Grey);
            setRing(c, 5, White, White, Grey, Grey);
        }
        setRing(c, 9, Black, Black, Black, Black);
        break;
    case Style::Rounded: {
        const PaintColor base = (check && m_s.Value) ? m_r.valueOnRGB : m_r.backRGB;
        if (heldOrOn)
            look = m_s.isDefault() ? 1 : 2;
        if (m_s.isHoverLook() && !m_s.isPressed())
            look = 3;
        else if (look == 1 && !m_s.ShowFocusRect)
            look = 0;
        if (!enabled) {
            setRing(c, 1, -1, -1, -1, -1);
            setRing(c, 5, -1, -1, -1, -1);
            const PaintColor outer = shift(base, -84, true);
            setRing(c, 9, outer, outer, outer, outer);
            break;
        }
        for (int i = 0; i < 8; ++i) {
            switch (look) {
            case 0: c[i + 1] = shift(base, Style2Normal[i], true); break;
            case 1: c[i + 1] = Style2Focus[i]; break;
            case 2: c[i + 1] = shift(base, Style2Pushed[i], true); break;
            default: c[i + 1] = Style2Hot[i]; break;
            }
        }
        setRing(c, 9, Style2Frame, Style2Frame, Style2Frame, Style2Frame);
        break;
    }
    case Style::Etched: {
        const PaintColor dark = shift(Grey, -26);
        if (enabled || check) {
            setRing(c, 1, -1, -1, -1, -1);
            if (check)
                look = heldOrOn ? 2 : 3;
            if (look < 2)
                look = 1;
            const PaintColor light = look == 2 ? face : White;
            setRing(c, 5, light, light, dark, dark);
            setRing(c, 9, dark, dark, White, White);
        } else {
            setRing(c, 1, face, face, face, face);
            setRing(c, 5, face, face, face, face);
            setRing(c, 9, dark, dark, dark, dark);
        }
        break;
    }
    case Style::ThinRing:
        setRing(c, 1, -1, -1, -1, -1);
        setRing(c, 5, -1, -1, -1, -1);
        look = heldOrOn ? 2 : std::max(look, 1);
        if (look == 2)
            setRing(c, 9, Grey, Grey, White, White);
        else
            setRing(c, 9, White, White, Grey, Grey);
        break;
    case Style::FlatUntilHover:
        setRing(c, 1, -1, -1, -1, -1);
        setRing(c, 5, -1, -1, -1, -1);
        if (!m_s.isHoverLook() && !m_s.Value) {
            if (m_s.DesignMode) {
                // Keeps the flat button visible in the designer.
                PaintColor edge = shift(PaintColor(m_s.ContainerBackColor & 0xFFFFFF), -64);
                if (edge == Black)
                    edge = White;
                setRing(c, 9, edge, edge, edge, edge);
            } else {
                setRing(c, 9, -1, -1, -1, -1);
            }
            break;
        }
        look = heldOrOn ? 2 : std::max(look, 1);
        if (look == 2)
            setRing(c, 9, Grey, Grey, White, White);
        else
            setRing(c, 9, White, White, Grey, Grey);
        break;
    case Style::SoftDoubleRing: {
        const PaintColor light = shift(0xDFDFDF, 8);
        setRing(c, 1, -1, -1, -1, -1);
        look = (heldOrOn || m_s.isPushed()) ? 1 : 0;
        const PaintColor a = look == 0 ? light : Grey;
        const PaintColor b = look == 0 ? Grey : light;
        setRing(c, 5, a, a, b, b);
        setRing(c, 9, a, a, b, b);
        break;
    }
    default: {
        // Style 7: a soft raised (or, pushed and on, sunken) double bevel from the face, in a
        // dark grey frame.
        const PaintColor hi = shift(face, 31);
        const PaintColor mid = shift(face, -32);
        const PaintColor low = shift(face, -64);
        const PaintColor soft = shift(face, -16);
        const bool sunken = heldOrOn || look == 2;
        if (sunken) {
            setRing(c, 1, mid, mid, hi, hi);
            setRing(c, 5, low, low, soft, soft);
        } else {
            setRing(c, 1, hi, hi, mid, mid);
            setRing(c, 5, soft, soft, low, low);
        }
        const PaintColor frame = shift(Grey, -16);
        setRing(c, 9, frame, frame, frame, frame);
        break;
    }
    }
}

void ButtonStyles::RingPoints(int inset, QPoint* out) const
{
    const int w = m_s.Width, h = m_s.Height;
    const Shape shape = m_s.shape();
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

void ButtonStyles::DrawEdges(EdgePoints& points, const EdgeColors& colors, int /*look*/)
{
    RingPoints(2, &points[0]);
    RingPoints(1, &points[5]);
    RingPoints(0, &points[10]);
    PaintColor last = -2;
    for (int k = 0; k <= 13; ++k) {
        if (k == 4 || k == 9)
            continue; // the jumps between rings
        const PaintColor color = k < 4 ? colors[k + 1] : k < 9 ? colors[k] : colors[k - 1];
        if (color < 0)
            continue;
        if (color != last) {
            m_p.SelectTool(true, 1, color);
            last = color;
        }
        m_r.surface.line(points[k].x(), points[k].y(), points[k + 1].x(), points[k + 1].y());
    }
}

void ButtonStyles::roundCorners(Style style, PaintColor color)
{
    if (color < 0)
        return;
    const int w = m_s.Width, h = m_s.Height;
    const Shape shape = m_s.shape();
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
    const Shape shape = m_s.shape();
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
    if ((m_s.isPushed() || value) && m_s.style() != Style::Etched) {
        ++left, ++top, ++right, ++bottom;
    }
    m_r.surface.focusRect(left, top, right, bottom);
}

} // namespace ktv
