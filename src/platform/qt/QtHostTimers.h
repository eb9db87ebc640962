// Host timers on Qt's event loop: one QTimer per window and identifier.
#pragma once

#include "platform/qt/HostTimers.h"

#include <QHash>
#include <QPair>
#include <QPointer>

class QTimer;

namespace ktv {

class QtHostTimers final : public HostTimers {
public:
    ~QtHostTimers() override;
    bool setTimer(QWidget* window, int timerId, int intervalMs, TimerProc proc) override;
    void killTimer(QWidget* window, int timerId) override;
    bool isActive(const QWidget* window, int timerId) const override;

private:
    using Key = QPair<const QWidget*, int>;
    QHash<Key, QPointer<QTimer>> m_timers; // each timer is a child of its window and dies with it
};

} // namespace ktv
