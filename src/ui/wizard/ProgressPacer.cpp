// While paced, the run's count is kept here and the bar's updates are off; once a frame has
// passed, and when a table's bar is full (so the end of each table is seen), the bar is told
// the count and repainted. What the bar shows, and what a screen reader hears of it, is what
// it would show if it were told every value: the picture cannot change faster than the screen.
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
    m_frameNs = static_cast<std::int64_t>(1e9 / hz);
    m_value = m_bar->value();
    m_bar->setUpdatesEnabled(false);
    m_paced = true;
    m_sincePaint.start();
}

void ProgressPacer::setValue(int value)
{
    if (!m_paced) {
        m_bar->setValue(value);
        return;
    }
    m_value = value;
    if (m_sincePaint.nsecsElapsed() >= m_frameNs || value == m_bar->maximum())
        paintNow();
}

int ProgressPacer::value() const { return m_paced ? m_value : m_bar->value(); }

void ProgressPacer::paintNow()
{
    m_bar->setValue(m_value);
    m_bar->setUpdatesEnabled(true);
    m_bar->repaint();
    m_bar->setUpdatesEnabled(false);
    m_sincePaint.start();
}

void ProgressPacer::release()
{
    if (!m_paced)
        return;
    m_paced = false;
    m_bar->setValue(m_value);
    m_bar->setUpdatesEnabled(true);
}

} // namespace ktv
