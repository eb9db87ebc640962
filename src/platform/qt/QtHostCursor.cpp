// The real mouse as Qt reports it.
#include "platform/qt/QtHostCursor.h"

#include <QApplication>
#include <QCursor>

namespace ktv {

QPoint QtHostCursor::cursorPos() const { return QCursor::pos(); }

QWidget* QtHostCursor::windowAt(const QPoint& global) const { return QApplication::widgetAt(global); }

} // namespace ktv
