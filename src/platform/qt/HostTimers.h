// Timers a control host runs for its controls: identified per window by a number, with a
// callback of the platform's timer shape, so a control can be driven by a real or a fake clock.
#pragma once

class QWidget;

namespace ktv {

// The platform's timer callback: the window the timer belongs to, the timer message,
// the timer's identifier and the tick time in milliseconds.
using TimerProc = void (*)(QWidget* window, unsigned message, int timerId, unsigned time);

constexpr unsigned kTimerMessage = 0x0113; // the platform's timer message number

class HostTimers {
public:
    virtual ~HostTimers() = default;

    // Starts (or restarts) timer `timerId` on `window`; false when it cannot be started.
    virtual bool setTimer(QWidget* window, int timerId, int intervalMs, TimerProc proc) = 0;
    virtual void killTimer(QWidget* window, int timerId) = 0;
    virtual bool isActive(const QWidget* window, int timerId) const = 0;
};

} // namespace ktv
