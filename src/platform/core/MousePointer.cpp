#include "platform/core/MousePointer.h"

namespace ktv {

namespace {

class RememberedPointer final : public MousePointerService {
public:
    void setPointer(Pointer p) override { m_pointer = p; }
    Pointer pointer() const override { return m_pointer; }

private:
    Pointer m_pointer = Pointer::Default;
};

MousePointerService*& current()
{
    static MousePointerService* service = nullptr;
    return service;
}

} // namespace

MousePointerService& mousePointer()
{
    static RememberedPointer remembered;
    return current() ? *current() : remembered;
}

void setMousePointer(MousePointerService* service) { current() = service; }

} // namespace ktv
