// Message boxes of the running program: modal QMessageBox with Turkish button texts and
// the first button as the default one.
#pragma once

#include "platform/core/MessageBox.h"

class QWidget;

namespace ktv {

class QtMessageBoxes final : public MessageBoxService {
public:
    MsgAnswer show(const MessageRequest& request) override;
    void setOwner(QWidget* owner) { m_owner = owner; }

private:
    QWidget* m_owner = nullptr;
};

} // namespace ktv
