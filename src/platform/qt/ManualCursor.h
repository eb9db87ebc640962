// A mouse moved by hand: tests put it over a window (or nowhere) and the controls read it back.
#pragma once

#include "platform/qt/HostCursor.h"

#include <QPointer>
#include <QWidget>

namespace ktv {

class ManualCursor final : public HostCursor {
public:
    QPoint cursorPos() const override { return m_pos; }
    QWidget* windowAt(const QPoint&) const override { return m_window.data(); }

    // Puts the cursor over `window` at `local` (its centre when not given); none means outside every window.
    void moveOver(QWidget* window, QPoint local = QPoint(-1, -1))
    {
        m_window = window;
        if (window)
            m_pos = window->mapToGlobal(local.x() < 0 ? window->rect().center() : local);
    }

private:
    QPoint m_pos;
    QPointer<QWidget> m_window;
};

} // namespace ktv
