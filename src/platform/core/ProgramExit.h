// Ending the program on a failure path. Whatever must survive the end (pending database
// writes) registers a hook; endProgram runs the hooks, then leaves with the status.
#pragma once

#include <functional>
#include <string>

namespace ktv {

using ExitHookId = int;

ExitHookId addExitHook(std::function<void()> hook);
void removeExitHook(ExitHookId id);

// Runs every hook, then hands the status to the exit handler. The default handler ends
// the process at once (no further events, no destructors of the window objects). A hook
// that fails (a last save that could not be made) turns a status of 0 into 1, and its
// error is written to the standard error stream: nothing ends as a success that lost data.
[[noreturn]] void endProgram(int status);

// Tests replace the handler with one that throws, so that "the program ends" is observable.
// The handler must not return.
void setExitHandler(std::function<void(int)> handler);

// Runs the hooks without ending (before a normal exit, before a modal box). Returns the
// errors of the hooks that failed, as "number: description" lines (empty when all held).
std::string runExitHooks();

} // namespace ktv
