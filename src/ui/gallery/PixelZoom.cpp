// Magnified view: re-grabs the source after each of its repaints and draws it without smoothing.
#include "ui/gallery/PixelZoom.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace ktv {

PixelZoom::PixelZoom(QWidget* source, int factor, QWidget* parent)
    : QWidget(parent), m_source(source), m_factor(factor)
{
    source->installEventFilter(this);
    setFixedSize(sizeHint());
    QTimer::singleShot(0, this, &PixelZoom::refresh);
}

QSize PixelZoom::sizeHint() const { return m_source ? m_source->size() * m_factor : QSize(); }

bool PixelZoom::eventFilter(QObject* watched, QEvent* event)
{
    // The grab itself repaints the source; only other repaints and resizes call for a new image.
    const bool changed = event->type() == QEvent::Paint || event->type() == QEvent::Resize;
    if (watched == m_source && changed && !m_grabbing && !m_refreshQueued) {
        m_refreshQueued = true;
        QTimer::singleShot(0, this, &PixelZoom::refresh);
    }
    return QWidget::eventFilter(watched, event);
}

void PixelZoom::refresh()
{
    m_refreshQueued = false;
    if (!m_source)
        return;
    m_grabbing = true;
    m_image = m_source->grab().toImage();
    m_grabbing = false;
    setFixedSize(sizeHint());
    update();
}

void PixelZoom::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!m_image.isNull())
        painter.drawImage(QRect(QPoint(0, 0), m_image.size() / m_image.devicePixelRatio() * m_factor),
                          m_image);
    painter.setPen(QColor(0x99, 0xaa, 0xbb));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ktv
