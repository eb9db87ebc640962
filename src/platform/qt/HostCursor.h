// Where the mouse is, as a control host reports it: the cursor position on the screen and
// the window under it. Tests hand the controls a fake one and move the mouse themselves.
#pragma once

#include <QPoint>

class QWidget;

namespace ktv {

class HostCursor {
public:
    virtual ~HostCursor() = default;
    virtual QPoint cursorPos() const = 0;                      // global (screen) coordinates
    virtual QWidget* windowAt(const QPoint& global) const = 0; // deepest widget there, or none
};

} // namespace ktv
