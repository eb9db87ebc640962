// Painting the wizard's icon on a 256-unit grid.
#include "ui/wizard/WizardIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace ktv {

QImage WizardIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);

    const QColor blue(0x1f, 0x5f, 0x99), gold(0xf2, 0xc2, 0x30), darkGold(0xe0, 0xa8, 0x00);
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 36, 36);

    // The source file with its folded corner and three lines of cards.
    QPainterPath sheet;
    sheet.moveTo(40, 52);
    sheet.lineTo(110, 52);
    sheet.lineTo(132, 74);
    sheet.lineTo(132, 170);
    sheet.lineTo(40, 170);
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(0xc9, 0xd9, 0xea));
    p.drawPolygon(QPolygonF({QPointF(110, 52), QPointF(110, 74), QPointF(132, 74)}));
    p.setBrush(blue);
    p.drawRect(QRectF(54, 92, 62, 10));
    p.drawRect(QRectF(54, 112, 62, 10));
    p.drawRect(QRectF(54, 132, 44, 10));

    // The company database: a cylinder with two rings.
    p.setBrush(darkGold);
    p.drawRect(QRectF(132, 120, 92, 80));
    p.drawEllipse(QRectF(132, 184, 92, 32));
    p.setPen(QPen(gold, 6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(132, 132, 92, 32), 180 * 16, 180 * 16);
    p.drawArc(QRectF(132, 160, 92, 32), 180 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawEllipse(QRectF(132, 104, 92, 32));

    // The arrow from the file into the database.
    QPainterPath arrow;
    arrow.moveTo(96, 196);
    arrow.lineTo(136, 196);
    arrow.lineTo(136, 178);
    arrow.lineTo(166, 208);
    arrow.lineTo(136, 238);
    arrow.lineTo(136, 220);
    arrow.lineTo(96, 220);
    arrow.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    return image;
}

QIcon WizardIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(WizardIconImage(size)));
    return icon;
}

} // namespace ktv
