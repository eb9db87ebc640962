// The caption and the picture of qvButtons_H.
#include "ui/controls/button/paint/ButtonContent.h"

#include "ui/controls/button/paint/ButtonShapes.h"

#include <algorithm>

namespace ktv {

using button::CaptionAlign;
using button::CaptionStyle;
using button::GradientMode;
using button::PictureAlign;
using button::Shape;
using button::Style;

namespace {

// Rectangles are kept as left, top, right, bottom with right and bottom outside.
QRect box(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }
int rightOf(const QRect& r) { return r.x() + r.width(); }
int bottomOf(const QRect& r) { return r.y() + r.height(); }

QRect clampRect(const QRect& r, int minLeft, int minTop, int maxRight, int maxBottom)
{
    int left = r.x(), top = r.y(), right = rightOf(r), bottom = bottomOf(r);
    top = std::max(top, minTop);
    left = std::max(left, minLeft);
    right = std::min(right, maxRight);
    bottom = std::min(bottom, maxBottom);
    return box(left, top, std::max(right, left), std::max(bottom, top));
}

int heldPictureSize(int size) { return size == 0 ? 16 : size; }

} // namespace

ButtonContent::ButtonContent(ButtonPainter& painter) : m_p(painter), m_s(painter.state()), m_r(painter.res())
{}

QString ButtonContent::CaptionText(const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1String("||"), QLatin1String("\n"));
    return text;
}

void ButtonContent::RefreshPicture()
{
    m_r.pictureCopy = QImage();
    if (m_s.Picture.isNull()) {
        m_r.pictureWidth = 0;
        m_r.pictureHeight = 0;
        m_r.pictureIsIcon = false;
        return;
    }
    m_r.pictureWidth = m_s.Picture.width();
    m_r.pictureHeight = m_s.Picture.height();
    m_r.pictureIsIcon = m_s.PictureIsIcon;
}

void ButtonContent::LayoutIfChanged()
{
    const ButtonResources::LayoutKey key{m_s.Caption,
                                         m_s.CaptionAlign,
                                         m_s.CaptionStyle,
                                         m_s.PictureAlign,
                                         m_s.PictureSize,
                                         m_s.ButtonShape,
                                         m_s.Width,
                                         m_s.Height,
                                         m_r.leftCut,
                                         m_r.rightLimit,
                                         m_s.Picture.cacheKey(),
                                         m_s.Font};
    if (m_r.layoutKey == key)
        return;
    m_r.pictureFillsButton = LayoutContent();
    m_r.layoutKey = key;
}

bool ButtonContent::LayoutContent()
{
    const int W = m_s.Width, H = m_s.Height;
    const int d = m_r.leftCut, r = m_r.rightLimit;
    const Shape shape = m_s.ButtonShape;
    int S = 0, N = W, E = W;
    switch (shape) {
    case Shape::SlantLeft:
        S = d - d / 3 + 3;
        N = W - S;
        E = W;
        break;
    case Shape::SlantRight:
        S = 0;
        N = r + (W - r) / 3;
        E = N;
        break;
    case Shape::Parallelogram:
        S = d - d / 3 + 3;
        N = r + (W - r) / 3 - S;
        E = S + N;
        break;
    case Shape::PictureFramed:
    case Shape::PictureRinged:
        S = 3;
        N = W - 3;
        E = W - 3;
        break;
    default: break;
    }

    const int size = heldPictureSize(m_s.PictureSize);
    const bool hasPicture = m_r.pictureWidth + m_r.pictureHeight > 0;
    const PictureAlign align = m_s.PictureAlign;
    // Side slots narrow the caption; the top and bottom slots only move it down or up.
    int slotL = 0, slotR = 0;
    if (hasPicture && size <= 32) {
        if (align == PictureAlign::LeftEdge || align == PictureAlign::LeftOfCaption)
            slotL = size;
        else if (align == PictureAlign::RightEdge || align == PictureAlign::RightOfCaption)
            slotR = size;
    }

    const bool hasCaption = !m_s.Caption.isEmpty();
    int cw = 0, ch = 0;
    if (hasCaption) {
        // The measuring box is N - 8 - slot wide; its height does not limit the measurement.
        const QSize measured = m_r.surface.measureText(CaptionText(m_s.Caption), N - 8 - slotL - slotR);
        cw = measured.width();
        ch = measured.height();
        if (m_s.CaptionStyle != CaptionStyle::Flat) {
            cw += 2;
            ch += 2;
        }
    }

    int x = 0;
    if (hasCaption) {
        switch (m_s.CaptionAlign) {
        case CaptionAlign::Left: x = S + slotL + 4 + (slotL ? 4 : 0); break;
        case CaptionAlign::Right: x = E - slotR - 4 - cw - (slotR ? 4 : 0); break;
        default:
            if (slotL && align == PictureAlign::LeftOfCaption)
                x = S + (N - cw - slotL - 4) / 2 + 4 + slotL;
            else if (slotR && align == PictureAlign::RightOfCaption)
                x = S + (N - cw - slotR - 4) / 2;
            else
                x = S + slotL + (N - slotL - slotR - cw) / 2;
            break;
        }
    }

    int captionTop = (H - ch) / 2;
    int pictureTop = (H - size) / 2;
    if (hasPicture && (align == PictureAlign::TopCenter || align == PictureAlign::BottomCenter)) {
        const int t = (H - ch - size) / 2;
        if (align == PictureAlign::TopCenter) {
            pictureTop = t;
            captionTop = t + 2 + size;
        } else {
            captionTop = t + 2;
            pictureTop = t + ch + 4;
        }
    }

    int px = S + 4;
    switch (align) {
    case PictureAlign::LeftOfCaption: px = hasCaption ? x - 4 - size : S + 4; break;
    case PictureAlign::RightEdge: px = E - 4 - size; break;
    case PictureAlign::RightOfCaption: px = hasCaption ? x + cw + 4 : E - 4 - size; break;
    case PictureAlign::TopCenter:
    case PictureAlign::BottomCenter: px = S + (N - size) / 2; break;
    default: break;
    }

    m_r.captionRect = clampRect(box(x, captionTop, x + cw, captionTop + ch), S + 4, 4, E - 4, H - 5);

    bool fills = false;
    QRect picture = box(px, pictureTop, px + size, pictureTop + size);
    if (hasPicture && size == 40) {
        picture = shape == Shape::EllipseFramed ? box(1, 1, W - 1, H - 1) : box(3, 3, W - 3, H - 3);
        fills = true;
    } else if (hasPicture && size >= 48 && shape < Shape::PictureFramed) {
        const QSize fitted = ButtonShapes(m_p).FitPicture(N - 12, H - 12);
        const int left = S + (N - fitted.width()) / 2;
        const int top = (H - fitted.height()) / 2;
        picture = box(left, top, left + fitted.width(), top + fitted.height());
        fills = true;
    } else if (hasPicture && size >= 48) {
        picture = box(0, 0, W, H);
    } else {
        picture = clampRect(picture, S + 4, 4, E - 4, H - 5);
    }
    m_r.pictureRect = picture;
    return fills;
}

void ButtonContent::drawCaption(const QRect& rect, const QString& text, PaintColor color)
{
    m_p.SelectTool(true, 2, color);
    const gdi::TextAlign align = m_s.CaptionAlign == CaptionAlign::Left    ? gdi::TextAlign::Left
                                 : m_s.CaptionAlign == CaptionAlign::Right ? gdi::TextAlign::Right
                                                                           : gdi::TextAlign::Center;
    m_r.surface.drawText(rect, text, align);
}

void ButtonContent::DrawContent(PaintColor face, PaintColor disabledColor, bool value, bool check)
{
    QRect caption = m_r.captionRect;
    QRect picture = m_r.pictureRect;
    const bool pushed = m_s.isPushed();
    const Shape shape = m_s.ButtonShape;
    if ((value || pushed) && m_s.ButtonStyle != Style::Etched) {
        const QPoint shift = shape <= Shape::Parallelogram ? QPoint(1, 1) : QPoint(0, 1);
        caption.translate(shift);
        picture.translate(shift);
    }
    if (!(value && shape >= Shape::PictureFramed))
        DrawPicture(picture);
    if (m_s.Caption.isEmpty() || (shape >= Shape::EllipseNoCaption && !value))
        return; // shapes 5 and up show their caption only while on
    const QString text = CaptionText(m_s.Caption);

    if (m_s.Enabled) {
        std::uint32_t fore = (m_s.Hovering && !pushed) ? m_s.HoverForeColor : m_s.ForeColor;
        PaintColor textColor = ButtonColors::TranslateColor(fore);
        if (m_s.ButtonStyle == Style::RoundedSoft && (m_s.GradientMode == GradientMode::None || value) &&
            disabledColor >= 0)
            textColor = disabledColor;
        if (m_s.CaptionStyle == CaptionStyle::Embossed || m_s.CaptionStyle == CaptionStyle::Engraved) {
            const int a = m_s.CaptionStyle == CaptionStyle::Embossed ? -40 : 40;
            drawCaption(caption.translated(-1, 0), text, ButtonColors::Shift(face, a));
            drawCaption(caption.translated(1, 2), text, ButtonColors::Shift(face, -a));
            drawCaption(caption.translated(0, 1), text, textColor);
        } else {
            drawCaption(caption, text, textColor);
        }
        return;
    }
    if (disabledColor < 0 || m_s.GradientMode != GradientMode::None) {
        drawCaption(caption.translated(1, 1), text, ButtonColors::White);
        drawCaption(caption, text, ButtonColors::Grey);
    } else {
        drawCaption(caption, text, disabledColor);
        if (!check)
            drawCaption(caption.translated(-1, -1), text, ButtonColors::Grey);
    }
}

void ButtonContent::DrawPicture(QRect rect)
{
    if (m_r.pictureWidth + m_r.pictureHeight == 0)
        return;
    if (!m_r.pictureIsIcon && m_r.pictureCopy.isNull())
        ButtonShapes(m_p).BuildPictureRegion(rect.width(), rect.height(), nullptr);
    if (m_s.ButtonShape == Shape::PictureFramed || m_s.ButtonShape == Shape::PictureRinged) {
        rect = box(0, 0, m_s.Width, m_s.Height);
        if (m_s.isPushed())
            rect.adjust(1, 1, -1, -1);
    }
    if (rect.width() <= 0 || rect.height() <= 0)
        return;

    auto drawOn = [&](gdi::GdiSurface& target, const QRect& at) {
        if (m_r.pictureIsIcon)
            target.drawIcon(at, m_s.Picture); // icons carry their own transparency
        else
            TransparentDraw(target, at, m_r.pictureCopy);
    };
    if (m_s.Enabled) {
        drawOn(m_r.surface, rect);
        return;
    }
    // Disabled: the picture on white, then its dark parts become the grey brush on the surface
    // and its light parts leave the surface as it was.
    gdi::GdiSurface temp(rect.width(), rect.height(), m_r.surface.ratio());
    temp.fillRect(QRect(0, 0, rect.width(), rect.height()), 0xFFFFFF);
    drawOn(temp, QRect(0, 0, rect.width(), rect.height()));
    gdi::GdiSurface& surface = m_r.surface;
    const gdi::ColorRef oldBackground = surface.backgroundColor();
    const gdi::ColorRef oldBrush = surface.brush();
    surface.setBackgroundColor(0xFFFFFF);
    surface.setBrush(gdi::ColorRef(ButtonColors::Grey));
    surface.bitBlt(rect.x(), rect.y(), rect.width(), rect.height(), temp.image(), 0, 0, gdi::Rop::PSDPxax);
    surface.setBackgroundColor(oldBackground);
    surface.setBrush(oldBrush);
}

void ButtonContent::TransparentDraw(gdi::GdiSurface& target, QRect rect, const QImage& source)
{
    if (source.isNull())
        return;
    // In the source's logical pixels: a copy made for a finer surface has as many as a plain one.
    const QSize logical = source.deviceIndependentSize().toSize();
    const int sw = logical.width(), sh = logical.height();
    int dw = rect.width() > 0 ? rect.width() : sw;
    int dh = rect.height() > 0 ? rect.height() : sh;
    if (dw < sw || dh < sh) {
        const double ratio = std::min(double(dw) / sw, double(dh) / sh);
        dw = std::max(int(std::nearbyint(sw * ratio)), 1);
        dh = std::max(int(std::nearbyint(sh * ratio)), 1);
    }
    const gdi::ColorRef key = gdi::fromQRgb(source.pixel(0, 0));
    const QImage mask = gdi::GdiSurface::keyMask(source, key);
    const QImage blackened = gdi::GdiSurface::blackenKey(source, key);
    target.stretchBlt(rect.x(), rect.y(), dw, dh, mask, 0, 0, sw, sh, gdi::Rop::SrcAnd);
    target.stretchBlt(rect.x(), rect.y(), dw, dh, blackened, 0, 0, sw, sh, gdi::Rop::SrcPaint);
}

} // namespace ktv
