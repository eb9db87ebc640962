// Window properties kept as dynamic properties of the window object.
#include "platform/qt/WindowProperties.h"

#include <QObject>

namespace ktv {

void SetProp(QObject* window, const char* name, const QVariant& value)
{
    if (window)
        window->setProperty(name, value);
}

QVariant GetProp(const QObject* window, const char* name)
{
    return window ? window->property(name) : QVariant();
}

void RemoveProp(QObject* window, const char* name)
{
    // Setting an invalid value removes a dynamic property.
    if (window)
        window->setProperty(name, QVariant());
}

} // namespace ktv
