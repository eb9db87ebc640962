// A monotonic clock read in a few nanoseconds, for the checks a long run makes for every
// record ("has the batch's time come?", "is a frame due?"). It ticks in steps of a few
// milliseconds (the system's tick); a fine clock costs several times the check itself.
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
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

// The same as a steady-clock time.
inline std::chrono::steady_clock::time_point coarseNow()
{
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::nanoseconds(coarseNowNs())));
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
