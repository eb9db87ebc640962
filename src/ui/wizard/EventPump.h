// The run's yield to the window before every record. Events the program posts itself (queued
// calls, clicks posted to a control, repaints asked for) are delivered at every yield; the
// window system (the mouse, the keyboard, timers) is asked at most once in a short interval,
// since asking it costs a system call of its own, several times the work of a record. The
// interval is counted on the coarse clock, so in practice it is that clock's tick (4 ms on
// common Linux systems): a click is handled within a few milliseconds, far below what an
// operator can tell.
#pragma once

#include "platform/core/CoarseClock.h"

#include <chrono>

namespace ktv {

class EventPump {
public:
    explicit EventPump(std::chrono::microseconds windowSystemInterval = std::chrono::microseconds(500))
        : m_intervalNs(std::chrono::nanoseconds(windowSystemInterval).count())
    {}
    // Delivers what is pending; the window system is asked when the interval is over.
    void pump();
    // The next pump asks the window system at once (a run begins).
    void restart() { m_sinceAsked.invalidate(); }
    // How often the window system was asked since the pump was made.
    long windowSystemAsks() const { return m_asks; }

private:
    CoarseTimer m_sinceAsked; // read at every pump: the coarse clock costs next to nothing
    std::int64_t m_intervalNs;
    long m_asks = 0;
};

} // namespace ktv
