// The system beep, replaceable so that tests can count beeps instead of hearing them.
#pragma once

#include <functional>

namespace ktv {

// Sounds the beep through the handler in force (by default the platform's beep).
void Beep();

// Replaces the beep handler; an empty function restores the platform's beep. Returns the previous one.
std::function<void()> setBeepHandler(std::function<void()> handler);

} // namespace ktv
