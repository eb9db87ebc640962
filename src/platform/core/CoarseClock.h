// A monotonic clock read in a few nanoseconds, for the checks the wizard makes for every
// record of a run ("is a frame due?", "is it time to ask the window system?"). It ticks in
// steps of a few milliseconds (the system's tick); a fine clock costs several times the check
// itself. The engine's 50 ms batches keep the fine clock: a killed run may lose no more than
// 50 ms of work, and a clock that lags by a tick would stretch that.
#pragma once

#include <chrono>
#include <cstdint>

#if defined(__linux__)
#include <time.h>
#endif

namespace ktv {

// Nanoseconds since an arbitrary start, the same start as std::chrono::steady_clock's.
inline std::int64_t coarseNowNs()
{
#if defined(__linux__) && defined(CLOCK_MONOTONIC_COARSE)
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
#else
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

// Time since a start, on the coarse clock; not started until start() is called.
class CoarseTimer {
public:
    void start() { m_start = coarseNowNs(); }
    void invalidate() { m_start = -1; }
    bool isValid() const { return m_start >= 0; }
    std::int64_t nsecsElapsed() const { return coarseNowNs() - m_start; }

private:
    std::int64_t m_start = -1;
};

} // namespace ktv
