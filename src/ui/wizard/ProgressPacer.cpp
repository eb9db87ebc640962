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
    m_frameNs = static_cast<std::int64_t>(1e9 / hz);
    m_bar->setUpdatesEnabled(false);
    // QProgressBar::setValue asks whether the new value changes the picture, and unless its
    // text shows the value itself it answers by laying the whole bar out anew through the
    // style: several microseconds, more than a record costs. While paced its text is the
    // value, so the answer is "yes" at once (and the repaint it asks for is held back); the
    // paint below hides that text again, so the bar looks as it always did.
    m_textVisible = m_bar->isTextVisible();
    m_format = m_bar->format();
    showValueText();
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
    showOwnText();
    m_bar->setUpdatesEnabled(true);
    m_bar->repaint();
    m_bar->setUpdatesEnabled(false);
    showValueText();
    m_sincePaint.start();
}

void ProgressPacer::showValueText()
{
    m_bar->setFormat(QStringLiteral("%v"));
    m_bar->setTextVisible(true);
}

void ProgressPacer::showOwnText()
{
    m_bar->setTextVisible(m_textVisible);
    m_bar->setFormat(m_format);
}

void ProgressPacer::release()
{
    if (!m_paced)
        return;
    m_paced = false;
    showOwnText();
    m_bar->setUpdatesEnabled(true);
}

} // namespace ktv
