// The steady clock (read coarsely) unless a test pinned another.
#include "data/EngineClock.h"

#include "platform/core/CoarseClock.h"

namespace ktv::dao {

namespace {
std::function<EngineTime()>& clockFn()
{
    static std::function<EngineTime()> fn;
    return fn;
}
} // namespace

// The coarse clock: asked once a record, its tick of a few milliseconds is nothing beside the
// 50 ms of a batch.
EngineTime engineNow() { return clockFn() ? clockFn()() : coarseNow(); }

void setEngineClock(std::function<EngineTime()> clock) { clockFn() = std::move(clock); }

} // namespace ktv::dao
