// The off-screen drawing surface of the GDI-like graphics layer.
#include "platform/qt/gdi/GdiSurface.h"

#include "platform/qt/gdi/GdiRegions.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace ktv::gdi {

GdiSurface::GdiSurface(int width, int height, qreal ratio) { resize(width, height, ratio); }

void GdiSurface::resize(int width, int height, qreal ratio)
{
    if (!(ratio > 0))
        ratio = 1;
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_image = QImage(qRound(m_width * ratio), qRound(m_height * ratio), QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::black);
    clearClip();
}

QImage& GdiSurface::image() { return m_image; }

void GdiSurface::setImage(QImage image)
{
    m_image = std::move(image);
    syncSize();
}

void GdiSurface::syncSize()
{
    const qreal r = ratio();
    m_width = qRound(m_image.width() / r);
    m_height = qRound(m_image.height() / r);
}

int GdiSurface::dev(int v) const
{
    const qreal r = ratio();
    return r == 1 ? v : qRound(v * r);
}

QRect GdiSurface::deviceRect(const QRect& logical) const
{
    const int l = dev(logical.left()), t = dev(logical.top());
    return QRect(l, t, dev(logical.left() + logical.width()) - l, dev(logical.top() + logical.height()) - t);
}

ColorRef GdiSurface::pixel(int x, int y) const { return fromQRgb(m_image.pixel(dev(x), dev(y))); }

void GdiSurface::setPixel(int x, int y, ColorRef color) { putPixel(x, y, toQRgb(color)); }

void GdiSurface::setClip(const QRegion& region)
{
    m_clip = region;
    m_hasClip = true;
}

void GdiSurface::clearClip()
{
    m_clip = QRegion();
    m_hasClip = false;
}

void GdiSurface::setPen(ColorRef color, int width, PenStyle style)
{
    m_pen = color;
    m_penWidth = std::max(width, 1);
    m_penStyle = style;
}

bool GdiSurface::visible(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    return !m_hasClip || m_clip.contains(QPoint(x, y));
}

void GdiSurface::putPixel(int x, int y, QRgb c)
{
    if (!visible(x, y))
        return;
    if (ratio() == 1) {
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = c;
        return;
    }
    const QRect block = deviceRect(QRect(x, y, 1, 1)).intersected(m_image.rect());
    for (int dy = block.top(); dy <= block.bottom(); ++dy) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(dy));
        std::fill(line + block.left(), line + block.right() + 1, c);
    }
}

QRegion GdiSurface::clipped(const QRect& rect) const
{
    const QRect r = rect.intersected(QRect(0, 0, m_width, m_height));
    if (r.isEmpty())
        return {};
    return m_hasClip ? m_clip.intersected(r) : QRegion(r);
}

void GdiSurface::fillRect(const QRect& rect, ColorRef color)
{
    const QRgb c = toQRgb(color);
    if (m_image.isNull())
        return;
    // One detach for the whole fill: scanLine() checks for sharing on every call.
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    auto fill = [&](const QRect& logical) {
        const QRect r = deviceRect(logical).intersected(m_image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride);
            std::fill(line + r.left(), line + r.right() + 1, c);
        }
    };
    if (!m_hasClip) {
        // The common case (rectangular buttons) needs no region at all.
        const QRect r = rect.intersected(QRect(0, 0, m_width, m_height));
        if (!r.isEmpty())
            fill(r);
        return;
    }
    for (const QRect& r : clipped(rect))
        fill(r);
}

void GdiSurface::rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (m_penStyle == PenStyle::Null) {
        fillRect(QRect(left, top, right - left - 1, bottom - top - 1), m_brush);
        return;
    }
    const int w = m_penWidth;
    if (m_brush == m_pen) {
        fillRect(QRect(left, top, right - left, bottom - top), m_brush);
        return;
    }
    fillRect(QRect(left + w, top + w, right - left - 2 * w, bottom - top - 2 * w), m_brush);
    const QRegion outer = GdiRegions::rect(left, top, right, bottom);
    const QRegion inner = GdiRegions::rect(left + w, top + w, right - w, bottom - w);
    fillRegion(outer.subtracted(inner), m_pen);
}

void GdiSurface::line(int x0, int y0, int x1, int y1)
{
    if (m_penStyle == PenStyle::Null)
        return;
    const QRgb c = toQRgb(m_pen);
    // Bresenham, stopping one step before the end point.
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        putPixel(x, y, c);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void GdiSurface::fillRegion(const QRegion& region, ColorRef color)
{
    for (const QRect& r : region)
        fillRect(r, color);
}

void GdiSurface::frameRegion(const QRegion& region, ColorRef color, int width, int height)
{
    fillRegion(GdiRegions::frame(region, width, height), color);
}

void GdiSurface::polygon(const std::vector<QPoint>& points)
{
    fillRegion(GdiRegions::polygon(points), m_brush);
    if (m_penStyle == PenStyle::Null || points.empty())
        return;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPoint a = points[i], b = points[(i + 1) % points.size()];
        line(a.x(), a.y(), b.x(), b.y());
    }
}

namespace {

int textFlags(TextAlign align)
{
    const int h = align == TextAlign::Left    ? Qt::AlignLeft
                  : align == TextAlign::Right ? Qt::AlignRight
                                              : Qt::AlignHCenter;
    return h | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

} // namespace

void GdiSurface::drawText(const QRect& rect, const QString& text, TextAlign align)
{
    if (m_image.isNull() || text.isEmpty())
        return;
    QPainter painter(&m_image);
    if (m_hasClip)
        painter.setClipRegion(m_clip);
    painter.setFont(m_font);
    if (m_bkMode == BackgroundMode::Opaque) {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(toQRgb(m_bkColor)));
    }
    painter.setPen(QColor(toQRgb(m_textColor)));
    // Text reaches past the rectangle's bottom only where the rectangle cuts a line in half;
    // the platform clipped there too.
    painter.setClipRect(rect, m_hasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.drawText(rect, textFlags(align), text);
}

QSize GdiSurface::measureText(const QString& text, int width) const
{
    if (text.isEmpty())
        return {0, 0};
    const QFontMetrics metrics(m_font);
    const QRect r =
        metrics.boundingRect(QRect(0, 0, std::max(width, 1), 100000), textFlags(TextAlign::Left), text);
    return r.size();
}

void GdiSurface::bitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop)
{
    stretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

void GdiSurface::stretchBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh,
                            Rop rop)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || src.isNull())
        return;
    const QImage source = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                              ? src
                              : src.convertToFormat(QImage::Format_RGB32);
    const QRgb brush = toQRgb(m_brush) & 0xFFFFFF;
    // Source coordinates are in the source's logical pixels; each device pixel of the target
    // picks the nearest device pixel of the source, so a finer source gives a finer picture.
    const QRect target = deviceRect(QRect(x, y, w, h));
    const qreal sr = source.devicePixelRatio();
    const qint64 srcX0 = qRound(sx * sr), srcY0 = qRound(sy * sr);
    const qint64 srcW = std::max<qint64>(qRound(sw * sr), 1), srcH = std::max<qint64>(qRound(sh * sr), 1);
    for (const QRect& logical : clipped(QRect(x, y, w, h))) {
        const QRect r = deviceRect(logical).intersected(m_image.rect());
        for (int py = r.top(); py <= r.bottom(); ++py) {
            const int srcY = int(srcY0 + (qint64(py - target.top()) * srcH) / target.height());
            if (srcY < 0 || srcY >= source.height())
                continue;
            const QRgb* srcLine = reinterpret_cast<const QRgb*>(source.constScanLine(srcY));
            QRgb* dstLine = reinterpret_cast<QRgb*>(m_image.scanLine(py));
            for (int px = r.left(); px <= r.right(); ++px) {
                const int srcX = int(srcX0 + (qint64(px - target.left()) * srcW) / target.width());
                if (srcX < 0 || srcX >= source.width())
                    continue;
                const QRgb s = srcLine[srcX] & 0xFFFFFF;
                const QRgb d = dstLine[px] & 0xFFFFFF;
                QRgb out = s;
                switch (rop) {
                case Rop::SrcCopy: out = s; break;
                case Rop::SrcAnd: out = s & d; break;
                case Rop::SrcPaint: out = s | d; break;
                case Rop::PSDPxax: out = ((d ^ brush) & s) ^ brush; break;
                }
                dstLine[px] = 0xFF000000u | out;
            }
        }
    }
}

void GdiSurface::drawIcon(const QRect& rect, const QImage& icon)
{
    if (icon.isNull() || rect.isEmpty())
        return;
    QPainter painter(&m_image);
    if (m_hasClip)
        painter.setClipRegion(m_clip);
    painter.drawImage(rect, icon);
}

void GdiSurface::focusRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    // The dots follow a checkerboard fixed to the surface, as the platform's pattern brush did.
    auto invert = [this](int x, int y) {
        if (((x + y) & 1) != 0 || !visible(x, y))
            return;
        const QRect block = deviceRect(QRect(x, y, 1, 1)).intersected(m_image.rect());
        for (int dy = block.top(); dy <= block.bottom(); ++dy)
            for (int dx = block.left(); dx <= block.right(); ++dx) {
                QRgb& p = reinterpret_cast<QRgb*>(m_image.scanLine(dy))[dx];
                p = 0xFF000000u | (~p & 0xFFFFFF);
            }
    };
    for (int x = left; x < right; ++x) {
        invert(x, top);
        if (bottom - 1 > top)
            invert(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        invert(left, y);
        if (right - 1 > left)
            invert(right - 1, y);
    }
}

QImage GdiSurface::keyMask(const QImage& src, ColorRef key)
{
    const QImage source = src.convertToFormat(QImage::Format_RGB32);
    QImage mask(source.size(), QImage::Format_RGB32);
    const QRgb k = toQRgb(key) & 0xFFFFFF;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            m[x] = (s[x] & 0xFFFFFF) == k ? 0xFFFFFFFFu : 0xFF000000u;
    }
    mask.setDevicePixelRatio(src.devicePixelRatio());
    return mask;
}

QImage GdiSurface::blackenKey(const QImage& src, ColorRef key)
{
    QImage copy = src.convertToFormat(QImage::Format_RGB32);
    const QRgb k = toQRgb(key) & 0xFFFFFF;
    for (int y = 0; y < copy.height(); ++y) {
        QRgb* s = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x)
            if ((s[x] & 0xFFFFFF) == k)
                s[x] = 0xFF000000u;
    }
    return copy;
}

} // namespace ktv::gdi
