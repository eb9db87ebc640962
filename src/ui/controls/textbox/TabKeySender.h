// Moves the focus the way a typed Tab or Shift+Tab does, by sending that keystroke to the focused widget.
#pragma once

namespace ktv {

// Posts one Tab (Shift+Tab when `backward`) keystroke to the widget that has the focus; the event
// loop delivers it after the current event, as the platform's injected keystrokes were.
void SendTabKey(bool backward);

} // namespace ktv
