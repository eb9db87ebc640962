// The gallery's run-time drawn button pictures.
#include "ui/gallery/ButtonPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace ktv::gallery {

namespace {

// Bitmaps are opaque RGB images: antialiasing would blend the shape's edge into magenta and leave
// a pink fringe that is no longer within the key tolerance, so shapes are drawn with hard edges.
QImage keyedCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kMagentaKey);
    return image;
}

} // namespace

QImage keyedDiscBitmap(int size)
{
    QImage image = keyedCanvas(size, size);
    QPainter p(&image);
    const qreal m = size / 16.0;
    p.setPen(QPen(QColor(0, 80, 0), qMax(1.0, m)));
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(QRectF(1 * m, 1 * m, 13.5 * m, 13.5 * m));
    QPen tick(Qt::white, qMax(2.0, 2 * m));
    tick.setCapStyle(Qt::SquareCap);
    p.setPen(tick);
    p.drawPolyline(QPolygonF({QPointF(4.5 * m, 8 * m), QPointF(7 * m, 10.5 * m), QPointF(11.5 * m, 5 * m)}));
    return image;
}

QImage starIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal c = size / 2.0;
    const qreal outer = size * 0.47;
    const qreal inner = outer * 0.45;
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(c + r * std::cos(a), c + 0.04 * size + r * std::sin(a));
    }
    p.setPen(QPen(QColor(120, 70, 0), qMax(1.0, size / 16.0)));
    p.setBrush(QColor(255, 200, 0));
    p.drawPolygon(star);
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage arrowShapeBitmap(int width, int height)
{
    QImage image = keyedCanvas(width, height);
    QPainter p(&image);
    const int head = height / 2 + 4;
    const QPolygon arrow({QPoint(0, height / 4), QPoint(width - head, height / 4), QPoint(width - head, 0),
                          QPoint(width - 1, height / 2), QPoint(width - head, height - 1),
                          QPoint(width - head, height - 1 - height / 4), QPoint(0, height - 1 - height / 4)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 110, 190));
    p.drawPolygon(arrow);
    // A lighter band along the top, so the arrow looks raised without blending into the key.
    p.setBrush(QColor(130, 165, 230));
    p.drawRect(QRect(2, height / 4 + 2, width - head - 4, 3));
    return image;
}

QImage tabShapeBitmap(int width, int height)
{
    QImage image = keyedCanvas(width, height);
    QPainter p(&image);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(0, 0, width - 1, height - 1), height / 2.5, height / 2.5);
    QPainterPath hole;
    const qreal r = height / 6.0;
    hole.addEllipse(QPointF(width - height / 2.0, height / 2.0), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 120, 40));
    p.drawPath(tab.subtracted(hole));
    return image;
}

} // namespace ktv::gallery
