// Host timers on a hand-moved clock.
#include "platform/qt/ManualTimers.h"

#include <algorithm>

namespace ktv {

bool ManualTimers::setTimer(QWidget* window, int timerId, int intervalMs, TimerProc proc)
{
    if (!window || !proc || intervalMs < 0)
        return false;
    killTimer(window, timerId);
    // An interval of 0 would fire endlessly within one advance; treat it as one millisecond.
    const int interval = std::max(intervalMs, 1);
    m_entries.push_back({window, window, timerId, interval, m_now + uint64_t(interval), proc});
    return true;
}

void ManualTimers::killTimer(QWidget* window, int timerId)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.key == window && e.id == timerId; });
}

bool ManualTimers::isActive(const QWidget* window, int timerId) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& e) { return e.key == window && e.id == timerId && e.window; });
}

int ManualTimers::activeCount() const
{
    return int(
        std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return bool(e.window); }));
}

void ManualTimers::advance(int ms)
{
    const uint64_t end = m_now + uint64_t(std::max(ms, 0));
    for (;;) {
        std::erase_if(m_entries, [](const Entry& e) { return !e.window; }); // windows gone meanwhile
        auto next = std::min_element(m_entries.begin(), m_entries.end(),
                                     [](const Entry& a, const Entry& b) { return a.due < b.due; });
        if (next == m_entries.end() || next->due > end)
            break;
        m_now = next->due;
        next->due += uint64_t(next->interval);
        // Copy what the call needs: the callback may kill or restart timers and so move the entries.
        const QPointer<QWidget> window = next->window;
        const int id = next->id;
        const TimerProc proc = next->proc;
        proc(window.data(), kTimerMessage, id, unsigned(m_now));
    }
    m_now = end;
}

} // namespace ktv
