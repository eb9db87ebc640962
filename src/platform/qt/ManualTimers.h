// Host timers on a clock that only moves when told to: a designer host's tests advance it
// by hand and the due timers fire in order, so nothing ever waits for real time.
#pragma once

#include "platform/qt/HostTimers.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace ktv {

class ManualTimers final : public HostTimers {
public:
    bool setTimer(QWidget* window, int timerId, int intervalMs, TimerProc proc) override;
    void killTimer(QWidget* window, int timerId) override;
    bool isActive(const QWidget* window, int timerId) const override;

    // Moves the clock forward, firing every timer each time it falls due.
    void advance(int ms);
    uint64_t now() const { return m_now; }
    int activeCount() const;

private:
    struct Entry {
        QPointer<QWidget> window;
        const QWidget* key;
        int id;
        int interval;
        uint64_t due;
        TimerProc proc;
    };
    std::vector<Entry> m_entries;
    uint64_t m_now = 0;
};

} // namespace ktv
