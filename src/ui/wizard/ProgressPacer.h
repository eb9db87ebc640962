// The run's progress bar: the run's count steps by one for every record, and the bar is told
// that count and repainted at most once per frame of its screen. Telling the bar a value is
// not free: QProgressBar::setValue announces every new value to the accessibility bridge, so a
// screen reader listening for value changes got one message over the session bus for every
// record, which slowed the run several times over and flooded the reader; and a bar repainted
// for each record would cost more than the record itself.
#pragma once

#include "platform/core/CoarseClock.h"

class QProgressBar;

namespace ktv {

class ProgressPacer {
public:
    explicit ProgressPacer(QProgressBar* bar) : m_bar(bar) {}
    // Shown: the bar is told its value and repainted once a frame; hidden: it is told at once.
    void setVisible(bool visible);
    void setValue(int value);
    // The run's count: the value last set, told to the bar or not yet.
    int value() const;
    // The bar is told the run's count and paints as usual again (a run that ended on an error).
    void release();

private:
    void paintNow();

    QProgressBar* m_bar;
    CoarseTimer m_sincePaint; // read for every record: the coarse clock costs next to nothing
    std::int64_t m_frameNs = 16'666'667;
    int m_value = 0;
    bool m_paced = false;
};

} // namespace ktv
