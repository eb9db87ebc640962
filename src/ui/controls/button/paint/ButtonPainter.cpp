// The paint pipeline of qvButtons_H: surface, cached resources, background, gradient, clipping,
// and the presentation of the finished surface with the shape frame.
#include "ui/controls/button/paint/ButtonPainter.h"

#include "platform/qt/gdi/GdiRegions.h"
#include "ui/controls/button/paint/ButtonContent.h"
#include "ui/controls/button/paint/ButtonShapes.h"
#include "ui/controls/button/paint/ButtonStyles.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ktv {

using button::GradientMode;
using button::Mode;
using button::PaintCode;
using button::Shape;
using button::Style;

ButtonPainter::ButtonPainter(const ButtonPaintState& state, ButtonResources& res) : m_s(state), m_r(res) {}

ButtonRedraw ButtonPainter::RedrawButton(const ButtonPaintState& state, ButtonResources& res)
{
    ButtonRedraw out;
    if (state.Width <= 0 || state.Height <= 0)
        return out;
    ButtonPainter painter(state, res);
    painter.refreshCaches();

    EdgeColors colors;
    EdgePoints points{};
    button::Look look = button::Look::Normal;
    PaintCode code = PaintCode::Nothing;
    ButtonStyles(painter).PaintStyle(points, colors, look, code);
    const std::optional<PaintColor> frameColor = colors.outer.bottom;

    out.moveBy = painter.m_moveBy;
    out.paintCode = code;
    if (code == PaintCode::Nothing) {
        // CustomClickMove presented the surface as it was when it moved the window.
        if (!out.moveBy.isNull())
            out.image = painter.PresentSurface();
        return out;
    }
    out.image = painter.PresentSurface();
    if (code == PaintCode::ShapeClipped || code == PaintCode::Ringed)
        out.image = painter.frameShape(out.image, frameColor);
    return out;
}

ButtonShape ButtonPainter::BuildRegions(const ButtonPaintState& state, ButtonResources& res)
{
    ButtonPainter painter(state, res);
    if (!res.surfaceCreated || res.surface.width() != state.Width || res.surface.height() != state.Height ||
        res.surface.ratio() != state.DevicePixelRatio)
        painter.CreateSurface();
    if (res.pictureKey != state.Picture.cacheKey() || res.pictureRatio != state.DevicePixelRatio)
        RefreshResources(state, res, QStringLiteral("Picture"));
    return ButtonShapes(painter).BuildRegions();
}

void ButtonPainter::RefreshResources(const ButtonPaintState& state, ButtonResources& res, const QString& name)
{
    ButtonPainter painter(state, res);
    if (name.compare(QLatin1String("Font"), Qt::CaseInsensitive) == 0) {
        res.surface.setFont(state.Font);
        res.fontKey = state.Font;
        res.layoutKey.reset();
    } else if (name.compare(QLatin1String("BackColor"), Qt::CaseInsensitive) == 0) {
        ButtonStyles(painter).RefreshColors();
        res.colorKey = ButtonResources::ColorKey{state.BackColor, state.HoverBackColor, state.ButtonStyle};
    } else if (name.compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0) {
        ButtonContent(painter).RefreshPicture();
        res.pictureKey = state.Picture.cacheKey();
        res.pictureRatio = state.DevicePixelRatio;
        res.layoutKey.reset();
    }
}

void ButtonPainter::refreshCaches()
{
    if (!m_r.surfaceCreated || m_r.surface.width() != m_s.Width || m_r.surface.height() != m_s.Height ||
        m_r.surface.ratio() != m_s.DevicePixelRatio) {
        CreateSurface();
        // A new surface (a resize while drawing was delayed) must not show black where the
        // region build painted the shape's ring or frame.
        if (m_r.hasShapeRegions)
            ButtonShapes(*this).PaintBackdrop();
    }
    if (m_r.fontKey != m_s.Font)
        RefreshResources(m_s, m_r, QStringLiteral("Font"));
    if (m_r.colorKey != ButtonResources::ColorKey{m_s.BackColor, m_s.HoverBackColor, m_s.ButtonStyle})
        RefreshResources(m_s, m_r, QStringLiteral("BackColor"));
    if (m_r.pictureKey != m_s.Picture.cacheKey() || m_r.pictureRatio != m_s.DevicePixelRatio)
        RefreshResources(m_s, m_r, QStringLiteral("Picture"));
    if (m_r.rightLimit == 0)
        m_r.rightLimit = m_s.Width;
    ButtonContent(*this).LayoutIfChanged();
}

void ButtonPainter::CreateSurface()
{
    // The surface starts with a black brush and a black one-pixel pen, and draws text without
    // filling its background.
    m_r.surface.resize(m_s.Width, m_s.Height, m_s.DevicePixelRatio);
    m_r.surface.setBackgroundMode(gdi::BackgroundMode::Transparent);
    m_r.surface.setBrush(0);
    m_r.surface.setPen(0, 1);
    m_r.surface.setFont(m_s.Font);
    m_r.fontKey = m_s.Font;
    m_r.surfaceCreated = true;
}

QImage ButtonPainter::PresentSurface() const { return m_r.surface.image().copy(); }

void ButtonPainter::SelectTool(bool create, int kind, PaintColor color, bool withPen, int penWidth)
{
    gdi::GdiSurface& surface = m_r.surface;
    if (!create) {
        surface.setBrush(0);
        surface.setPen(0, 1);
        return;
    }
    switch (kind) {
    case 0:
        surface.setBrush(gdi::ColorRef(color));
        if (withPen)
            surface.setPen(gdi::ColorRef(color), penWidth);
        break;
    case 1: surface.setPen(gdi::ColorRef(color), penWidth); break;
    case 2: surface.setTextColor(gdi::ColorRef(ButtonColors::TranslateColor(std::uint32_t(color)))); break;
    default: break;
    }
}

void ButtonPainter::FillBox(int left, int top, int right, int bottom, PaintColor fill,
                            std::optional<PaintColor> outline, int outlineWidth)
{
    if (outline)
        SelectTool(true, 1, *outline, false, outlineWidth);
    SelectTool(true, 0, fill, !outline, 1);
    m_r.surface.rectangle(left, top, right, bottom);
}

void ButtonPainter::ClipTo(const QRegion& region)
{
    // Shapes 0 to 3 have no regions: clipping to them removes the clipping.
    if (m_r.hasShapeRegions)
        m_r.surface.setClip(region);
    else
        m_r.surface.clearClip();
}

void ButtonPainter::DrawBackground(PaintColor back, button::Look& look, PaintCode& paintCode,
                                   PaintColor gradient, PaintColor hover)
{
    PrepareClip(paintCode);
    if (paintCode == PaintCode::Nothing)
        return;
    const bool pushed = m_s.isPushed();
    look = pushed ? button::Look::Pushed : (m_s.isDefault() ? button::Look::Default : button::Look::Normal);
    if (hover < 0)
        hover = back;
    PaintColor fill = back;
    if (m_s.Mode == Mode::Command && !pushed)
        fill = m_s.Hovering ? hover : back;
    else
        fill = (m_s.Mode != Mode::Command && !m_s.Value && m_s.Hovering) ? hover : back;

    const int w = width(), h = height();
    if (m_s.GradientMode == GradientMode::None || m_s.ButtonShape == Shape::PictureFramed ||
        m_s.ButtonShape == Shape::PictureRinged || m_s.Value) {
        if ((m_s.Mode == Mode::Command && !m_s.Enabled) || m_s.ButtonStyle != Style::Rounded) {
            FillBox(0, 0, w, h, fill);
        } else {
            // Style 2 shades its face row by row, about 25 steps darker at the bottom.
            for (int y = 0; y <= h; ++y) {
                const int amount = int(std::nearbyint(-25.0 * y / h));
                FillBox(0, y, w, y + 1, ButtonColors::Shift(fill, amount, true));
            }
        }
        return;
    }
    if (m_s.Hovering && !pushed && m_s.GradientColor != m_s.HoverBackColor) {
        FillBox(0, 0, w, h, hover);
        return;
    }
    if (gradient < 0)
        gradient = back;
    GradientFill(back, gradient, m_s.GradientMode);
}

void ButtonPainter::GradientFill(PaintColor first, PaintColor second, GradientMode mode)
{
    if (mode == GradientMode::None)
        return;
    const bool across = mode == GradientMode::LeftToRight || mode == GradientMode::RightToLeft;
    const int w = width(), h = height();
    const int n = across ? w : h;
    if (n <= 0)
        return;
    int screen = across ? m_s.ScreenWidth : m_s.ScreenHeight;
    if (screen <= 0) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        const QSize size = primary ? primary->size() : QSize(1024, 768);
        screen = across ? size.width() : size.height();
    }
    int band = 1;
    int count = n;
    if (screen / n < 4 && n >= 2) {
        band = 2;
        count = n / 2;
    }
    const std::vector<PaintColor> list = ButtonColors::BlendColors(count, first, second);
    for (int i = 0; i < count; ++i) {
        const PaintColor color = (mode == GradientMode::LeftToRight || mode == GradientMode::TopToBottom)
                                     ? list[i]
                                     : list[count - 1 - i];
        // With two-pixel bands over an odd length the last band also takes the odd pixel, so no
        // row or column keeps the previous redraw's colour.
        const int start = i * band;
        const int end = (i == count - 1) ? n : start + band;
        if (across)
            FillBox(start, 0, end, h, color);
        else
            FillBox(0, start, w, end, color);
    }
}

void ButtonPainter::PrepareClip(PaintCode& paintCode)
{
    bool moved = false;
    m_moveBy += ButtonShapes(*this).CustomClickMove(moved);
    if (moved) {
        paintCode = PaintCode::Nothing;
        return;
    }
    paintCode = PaintCode::Unclipped;
    const bool pushed = m_s.isPushed();
    const Shape shape = m_s.ButtonShape;
    const Style style = m_s.ButtonStyle;
    if (style == Style::FlatUntilHover && !m_s.Hovering && !pushed && !m_s.Value) {
        m_r.surface.clearClip();
        return;
    }
    m_r.surface.clearClip();
    const bool ringless = shape == Shape::EllipseFramed || shape == Shape::PictureFramed;
    if (style == Style::FlatUntilHover && !(!m_s.Value && ringless)) {
        GradientFill(ButtonColors::White, ButtonColors::Grey, GradientMode::TopToBottom);
        ClipTo(m_r.innerRegion);
        paintCode = PaintCode::Ringed;
    }
    if ((pushed || m_s.Value) && !ringless) {
        ClipTo(m_r.shapeRegion);
        GradientFill(ButtonColors::Grey, ButtonColors::White, GradientMode::TopToBottom);
        ClipTo(m_r.innerRegion);
        paintCode = PaintCode::Ringed;
        return;
    }
    if (!ringless) {
        ClipTo(m_r.shapeRegion);
        paintCode = PaintCode::ShapeClipped;
        return;
    }
    if (shape == Shape::EllipseFramed && !m_s.Hovering)
        return;
    const PaintColor frame =
        shape == Shape::EllipseFramed ? ButtonColors::Black : ButtonColors::TranslateColor(m_s.BackColor);
    m_r.surface.frameRegion(m_r.windowShape, gdi::ColorRef(frame), 1, 1);
    ClipTo(m_r.shapeRegion);
    paintCode = PaintCode::ShapeClipped;
}

QImage ButtonPainter::frameShape(QImage image, std::optional<PaintColor> frameColor) const
{
    const Shape shape = m_s.ButtonShape;
    const bool pushed = m_s.isPushed();
    const Style style = m_s.ButtonStyle;
    QRegion region;
    std::optional<PaintColor> color = frameColor;
    if (shape >= Shape::Ellipse && shape <= Shape::EllipseFramed) {
        if (style == Style::Rounded && !pushed)
            region = m_r.shapeRegion;
        else if (shape == Shape::EllipseFramed)
            region = m_r.windowShape;
    } else if (shape == Shape::PictureFramed || shape == Shape::PictureRinged) {
        if (!m_s.Hovering || pushed) {
            if (m_s.isDefault()) {
                region = shape == Shape::PictureRinged ? m_r.innerRegion : m_r.shapeRegion;
                if (m_s.Value && style != Style::Rounded)
                    color = ButtonColors::Shift(m_r.shadeRGB, -32);
            }
        } else {
            if (style != Style::Rounded)
                color = m_r.hoverRGB;
            if (color != ButtonColors::TranslateColor(m_s.BackColor) || style == Style::Rounded)
                region = m_r.windowShape;
        }
    }
    if (region.isEmpty() || !color)
        return image;
    gdi::GdiSurface window;
    window.setImage(std::move(image));
    window.frameRegion(region, gdi::ColorRef(*color), 1, 1);
    return std::move(window.image());
}

} // namespace ktv
