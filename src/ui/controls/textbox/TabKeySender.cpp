// Injected Tab and Shift+Tab keystrokes for the text box behaviour's field navigation.
#include "ui/controls/textbox/TabKeySender.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ktv {

void SendTabKey(bool backward)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    // Qt reports Shift+Tab as Backtab with the Shift modifier; QWidget::event turns either into a
    // focus move along the tab order.
    const int key = backward ? Qt::Key_Backtab : Qt::Key_Tab;
    const Qt::KeyboardModifiers modifiers = backward ? Qt::ShiftModifier : Qt::NoModifier;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

} // namespace ktv
