// The application-wide pointer of the running program: the hourglass is Qt's wait cursor.
#pragma once

#include "platform/core/MousePointer.h"

namespace ktv {

class QtMousePointer final : public MousePointerService {
public:
    void setPointer(Pointer pointer) override;
    Pointer pointer() const override { return m_pointer; }

private:
    Pointer m_pointer = Pointer::Default;
};

} // namespace ktv
