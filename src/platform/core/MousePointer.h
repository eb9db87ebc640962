// The application-wide mouse pointer (the hourglass of long operations).
#pragma once

namespace ktv {

enum class Pointer { Default, Hourglass };

class MousePointerService {
public:
    virtual ~MousePointerService() = default;
    virtual void setPointer(Pointer pointer) = 0;
    virtual Pointer pointer() const = 0;
};

// Without a service set, the pointer is only remembered.
MousePointerService& mousePointer();
void setMousePointer(MousePointerService* service);

} // namespace ktv
