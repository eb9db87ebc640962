// The clock the engine's implicit transactions run on; tests replace it with a fake one.
#pragma once

#include <chrono>
#include <functional>

namespace ktv::dao {

using EngineTime = std::chrono::steady_clock::time_point;

EngineTime engineNow();
// Pass an empty function to return to the steady clock.
void setEngineClock(std::function<EngineTime()> clock);

// How long updates outside a transaction may wait before they are committed.
inline constexpr std::chrono::milliseconds kCommitDelay{50};

} // namespace ktv::dao
