// Host timers on Qt's event loop.
#include "platform/qt/QtHostTimers.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

namespace ktv {

QtHostTimers::~QtHostTimers()
{
    for (const auto& timer : std::as_const(m_timers))
        delete timer.data();
}

bool QtHostTimers::setTimer(QWidget* window, int timerId, int intervalMs, TimerProc proc)
{
    if (!window || !proc || intervalMs < 0)
        return false;
    killTimer(window, timerId);
    auto* timer = new QTimer(window);
    timer->setInterval(intervalMs);
    QPointer<QWidget> target(window);
    QObject::connect(timer, &QTimer::timeout, timer, [target, timerId, proc] {
        if (target)
            proc(target.data(), kTimerMessage, timerId, unsigned(QDateTime::currentMSecsSinceEpoch()));
    });
    m_timers.insert(Key(window, timerId), timer);
    timer->start();
    return true;
}

void QtHostTimers::killTimer(QWidget* window, int timerId)
{
    const auto it = m_timers.find(Key(window, timerId));
    if (it == m_timers.end())
        return;
    // The callback may be the one stopping its own timer: never delete it under its feet.
    if (it.value()) {
        it.value()->stop();
        it.value()->deleteLater();
    }
    m_timers.erase(it);
}

bool QtHostTimers::isActive(const QWidget* window, int timerId) const
{
    const auto timer = m_timers.value(Key(window, timerId));
    return timer && timer->isActive();
}

} // namespace ktv
