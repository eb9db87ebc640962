#include "platform/qt/QtMousePointer.h"

#include <QApplication>
#include <QCursor>

namespace ktv {

void QtMousePointer::setPointer(Pointer pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    if (pointer == Pointer::Hourglass)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

} // namespace ktv
