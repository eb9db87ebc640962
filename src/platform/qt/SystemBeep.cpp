// The system beep: the platform's beep unless a handler (a test's counter) is set.
#include "platform/qt/SystemBeep.h"

#include <QApplication>

namespace ktv {

namespace {
std::function<void()>& handlerSlot()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void Beep()
{
    if (const auto& handler = handlerSlot())
        handler();
    else
        QApplication::beep();
}

std::function<void()> setBeepHandler(std::function<void()> handler)
{
    auto previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace ktv
