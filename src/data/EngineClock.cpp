// Steady clock unless a test pinned another.
#include "data/EngineClock.h"

namespace ktv::dao {

namespace {
std::function<EngineTime()>& clockFn()
{
    static std::function<EngineTime()> fn;
    return fn;
}
} // namespace

EngineTime engineNow() { return clockFn() ? clockFn()() : std::chrono::steady_clock::now(); }

void setEngineClock(std::function<EngineTime()> clock) { clockFn() = std::move(clock); }

} // namespace ktv::dao
