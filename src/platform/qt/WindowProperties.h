// Named values attached to a window (set, read, remove), on which controls keep small shared
// bookkeeping such as an option group on its container.
#pragma once

#include <QVariant>

class QObject;

namespace ktv {

void SetProp(QObject* window, const char* name, const QVariant& value);
QVariant GetProp(const QObject* window, const char* name); // invalid when absent
void RemoveProp(QObject* window, const char* name);

} // namespace ktv
