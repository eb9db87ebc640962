#include "platform/core/MessageBox.h"

#include "platform/core/ProgramExit.h"

#include <cstdio>

namespace ktv {

namespace {

class ConsoleMessageBoxes final : public MessageBoxService {
public:
    MsgAnswer show(const MessageRequest& r) override
    {
        std::fprintf(stderr, "[%s] %s\n", r.title.c_str(), r.text.c_str());
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
};

MessageBoxService*& current()
{
    static MessageBoxService* service = nullptr;
    return service;
}

} // namespace

MessageBoxService& messageBoxes()
{
    static ConsoleMessageBoxes console;
    return current() ? *current() : console;
}

void setMessageBoxes(MessageBoxService* service) { current() = service; }

MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title)
{
    // Every box waits for the operator: pending database writes are committed first, so no
    // write lock is held and nothing stored is at risk while it stands. A save that fails
    // here stays pending and is reported when its database is closed.
    (void)runExitHooks();
    return messageBoxes().show({text, title, buttons, icon});
}

} // namespace ktv
