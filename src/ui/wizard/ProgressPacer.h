// The run's progress bar: its value follows every record, its picture is repainted at most
// once per frame of its screen (a bar repainted for each record would cost more than the
// record itself).
#pragma once

#include "platform/core/CoarseClock.h"

#include <QString>

class QProgressBar;

namespace ktv {

class ProgressPacer {
public:
    explicit ProgressPacer(QProgressBar* bar) : m_bar(bar) {}
    // Shown: repaints are held back to the frame rate; hidden: the bar paints as usual.
    void setVisible(bool visible);
    void setValue(int value);
    // The bar paints as usual again (a run that ended on an error).
    void release();

private:
    void paintNow();
    void showOwnText();   // the text settings the bar had before it was paced
    void showValueText(); // the value as text, while paced (never painted)

    QProgressBar* m_bar;
    CoarseTimer m_sincePaint; // read for every record: the coarse clock costs next to nothing
    std::int64_t m_frameNs = 16'666'667;
    bool m_paced = false;
    bool m_textVisible = false;
    QString m_format;
};

} // namespace ktv
