// The hover timer's callback: finds the button from its window and lets it check the mouse.
#pragma once

class QWidget;

namespace ktv {

// Reads "qv_ClassID" and "qv_TimerID" from the window the timer belongs to and runs that button's
// CheckMouseOver. It never owns the button; a window without a live button is left alone.
void HoverTimerProc(QWidget* hwnd, unsigned uMsg, int idEvent, unsigned dwTime);

} // namespace ktv
