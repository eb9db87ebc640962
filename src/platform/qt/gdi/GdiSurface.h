// The off-screen drawing surface of the GDI-like graphics layer: an RGB image with a clip region,
// a current pen, brush, font, text colour and background mode, and the drawing operations with
// the pixel rules the button painter was written against. Pure: no widget, no screen.
// Coordinates are logical pixels. At a device pixel ratio above 1 the image has that many more
// pixels: every logical pixel the rules paint covers its whole block of device pixels (so lines
// and rings stay whole and touch without gaps), while text and pictures use the finer pixels.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <vector>

namespace ktv::gdi {

// Colours are RGB values with red in the lowest byte.
using ColorRef = std::uint32_t;

constexpr ColorRef RGB(int r, int g, int b)
{
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
inline QRgb toQRgb(ColorRef c) { return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
inline ColorRef fromQRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

// Raster operations of the block transfers.
enum class Rop : std::uint32_t {
    SrcCopy = 0x00CC0020,
    SrcAnd = 0x008800C6,
    SrcPaint = 0x00EE0086,
    // ((destination XOR brush) AND source) XOR brush: the source's white keeps the destination,
    // its black takes the brush.
    PSDPxax = 0x00B8074A,
};

enum class PenStyle { Solid, Null };
enum class BackgroundMode { Transparent = 1, Opaque = 2 };
// Text alignment across the rectangle; text is always word-wrapped.
enum class TextAlign { Left, Right, Center };

class GdiSurface {
public:
    GdiSurface() = default;
    explicit GdiSurface(int width, int height, qreal ratio = 1);

    // A new image of the logical size at the device pixel ratio, black; the clip is removed.
    void resize(int width, int height, qreal ratio = 1);
    int width() const { return m_width; }
    int height() const { return m_height; }
    qreal ratio() const { return m_image.devicePixelRatio(); }
    // The device image (its devicePixelRatio is the surface's). An image put in here sets the
    // surface's size and ratio.
    const QImage& image() const { return m_image; }
    QImage& image();
    void setImage(QImage image);
    // The colour of a logical pixel (its top-left device pixel).
    ColorRef pixel(int x, int y) const;
    // Paints one logical pixel, inside the clip.
    void setPixel(int x, int y, ColorRef color);

    // Clipping: every operation paints only inside the clip region when one is set.
    void setClip(const QRegion& region);
    void clearClip();
    const QRegion& clip() const { return m_clip; }

    // Current tools.
    void setPen(ColorRef color, int width = 1, PenStyle style = PenStyle::Solid);
    void setBrush(ColorRef color) { m_brush = color; }
    ColorRef brush() const { return m_brush; }
    void setTextColor(ColorRef color) { m_textColor = color; }
    ColorRef textColor() const { return m_textColor; }
    void setBackgroundMode(BackgroundMode mode) { m_bkMode = mode; }
    void setBackgroundColor(ColorRef color) { m_bkColor = color; }
    ColorRef backgroundColor() const { return m_bkColor; }
    void setFont(const QFont& font) { m_font = font; }
    const QFont& font() const { return m_font; }

    // The rectangle operation: the pen outline lies inside the box on its left and top edges and
    // one pixel inside its right and bottom edges; the brush fills what is within. So
    // (0, 0, width, height) covers exactly the image. Without a pen the fill ends one pixel short.
    void rectangle(int left, int top, int right, int bottom);
    // Fills [left, right) x [top, bottom) with a colour, ignoring the tools.
    void fillRect(const QRect& rect, ColorRef color);
    // A line in the pen colour from (x0, y0) towards (x1, y1); the end point itself is not painted.
    void line(int x0, int y0, int x1, int y1);
    void fillRegion(const QRegion& region, ColorRef color);
    // Paints the border of a region, width pixels across and height pixels down.
    void frameRegion(const QRegion& region, ColorRef color, int width, int height);
    // A polygon filled with the brush (winding rule) and outlined with the pen.
    void polygon(const std::vector<QPoint>& points);

    // Word-wrapped text in the rectangle, in the current font and text colour; "&" marks an
    // underlined access key and "&&" is a literal ampersand. Line breaks break lines.
    void drawText(const QRect& rect, const QString& text, TextAlign align);
    // The size the word-wrapped text takes within the given width.
    QSize measureText(const QString& text, int width) const;

    // Block transfers from an image (its pixels are taken as RGB). The stretched transfer picks the
    // nearest source pixel. The ternary operation uses the current brush.
    void bitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop);
    void stretchBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh, Rop rop);
    // Draws an image with its own alpha channel (icons and cursors) scaled into the rectangle.
    void drawIcon(const QRect& rect, const QImage& icon);

    // The dotted focus rectangle: every other pixel of the box's border inverted, so drawing it
    // twice removes it.
    void focusRect(int left, int top, int right, int bottom);

    // A mask of the image: white where a pixel has the key colour, black elsewhere.
    static QImage keyMask(const QImage& src, ColorRef key);
    // A copy of the image with the key-coloured pixels black.
    static QImage blackenKey(const QImage& src, ColorRef key);

private:
    bool visible(int x, int y) const;
    void putPixel(int x, int y, QRgb c);
    QRegion clipped(const QRect& rect) const;
    // The first device pixel of logical coordinate v; logical [a, b) covers device [dev(a), dev(b)).
    int dev(int v) const;
    QRect deviceRect(const QRect& logical) const;
    void syncSize();

    QImage m_image;
    int m_width = 0;
    int m_height = 0;
    QRegion m_clip;
    bool m_hasClip = false;
    ColorRef m_pen = 0;
    int m_penWidth = 1;
    PenStyle m_penStyle = PenStyle::Solid;
    ColorRef m_brush = 0;
    ColorRef m_textColor = 0;
    ColorRef m_bkColor = 0xFFFFFF;
    BackgroundMode m_bkMode = BackgroundMode::Opaque;
    QFont m_font;
};

} // namespace ktv::gdi
