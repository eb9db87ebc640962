// While paced, the bar's updates are off, so QProgressBar::setValue stores the value (and
// tells its listeners) without painting; a paint is let through once a frame has passed,
// and when a table's bar is full, so the end of each table is seen.
#include "ui/wizard/ProgressPacer.h"

#include <QProgressBar>
#include <QScreen>

namespace ktv {

void ProgressPacer::setVisible(bool visible)
{
    if (!visible)
        release();
    m_bar->setVisible(visible);
    if (!visible)
        return;
    const QScreen* screen = m_bar->screen();
    const double hz = screen && screen->refreshRate() >= 1.0 ? screen->refreshRate() : 60.0;
    m_frameNs = static_cast<qint64>(1e9 / hz);
    m_bar->setUpdatesEnabled(false);
    m_paced = true;
    m_sincePaint.start();
}

void ProgressPacer::setValue(int value)
{
    m_bar->setValue(value);
    if (m_paced && (m_sincePaint.nsecsElapsed() >= m_frameNs || value == m_bar->maximum()))
        paintNow();
}

void ProgressPacer::paintNow()
{
    m_bar->setUpdatesEnabled(true);
    m_bar->repaint();
    m_bar->setUpdatesEnabled(false);
    m_sincePaint.restart();
}

void ProgressPacer::release()
{
    if (!m_paced)
        return;
    m_paced = false;
    m_bar->setUpdatesEnabled(true);
}

} // namespace ktv
