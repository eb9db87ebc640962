#include "platform/core/ProgramExit.h"

#include "platform/core/Error.h"

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

std::string runExitHooks()
{
    // Copy first: a hook may remove itself.
    const auto copy = hooks().hooks;
    std::string failures;
    for (const auto& [id, hook] : copy) {
        try {
            hook();
        } catch (const Error& e) {
            // one failing hook must not stop the others
            failures += std::to_string(e.number()) + ": " + e.description() + "\n";
        } catch (const std::exception& e) {
            failures += std::to_string(runtime_err::InternalError) + ": " + e.what() + "\n";
        }
    }
    return failures;
}

void endProgram(int status)
{
    const std::string failures = runExitHooks();
    if (!failures.empty()) {
        std::fprintf(stderr, "%s", failures.c_str());
        if (status == 0)
            status = 1;
    }
    if (hooks().handler)
        hooks().handler(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void setExitHandler(std::function<void(int)> handler) { hooks().handler = std::move(handler); }

} // namespace ktv
