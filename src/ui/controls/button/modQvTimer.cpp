// The hover timer's callback.
#include "ui/controls/button/modQvTimer.h"

#include "platform/qt/WindowProperties.h"
#include "ui/controls/button/qvButtons_H.h"

namespace ktv {

void HoverTimerProc(QWidget* hwnd, unsigned, int, unsigned)
{
    auto* button = qobject_cast<qvButtons_H*>(GetProp(hwnd, "qv_ClassID").value<QObject*>());
    const QVariant timerId = GetProp(hwnd, "qv_TimerID");
    if (button && timerId.isValid())
        button->CheckMouseOver(timerId.toInt());
}

} // namespace ktv
