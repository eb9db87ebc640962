#include "platform/core/ProgramExit.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace ktv {

namespace {

struct Hooks {
    std::map<ExitHookId, std::function<void()>> hooks;
    ExitHookId next = 1;
    std::function<void(int)> handler;
};

Hooks& hooks()
{
    static Hooks h;
    return h;
}

} // namespace

ExitHookId addExitHook(std::function<void()> hook)
{
    const ExitHookId id = hooks().next++;
    hooks().hooks.emplace(id, std::move(hook));
    return id;
}

void removeExitHook(ExitHookId id) { hooks().hooks.erase(id); }

void runExitHooks()
{
    // Copy first: a hook may remove itself.
    const auto copy = hooks().hooks;
    for (const auto& [id, hook] : copy) {
        try {
            hook();
        } catch (...) {
            // the program is ending; one failing hook must not stop the others
        }
    }
}

void endProgram(int status)
{
    runExitHooks();
    if (hooks().handler)
        hooks().handler(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void setExitHandler(std::function<void(int)> handler) { hooks().handler = std::move(handler); }

} // namespace ktv
