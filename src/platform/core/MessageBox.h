// Modal message boxes behind a small interface: the running program shows Qt boxes,
// the command-line tool writes to the terminal, tests answer by script.
#pragma once

#include <string>

namespace ktv {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Question, Information, Exclamation, Critical };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRequest {
    std::string text;
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MsgAnswer show(const MessageRequest& request) = 0;
};

// The service in force. Without one set, boxes go to the standard error stream and are
// answered with their first button (OK or Yes).
MessageBoxService& messageBoxes();
void setMessageBoxes(MessageBoxService* service);

MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title);

} // namespace ktv
