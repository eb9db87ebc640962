// The named property store a control host gives a control to load and save its properties.
// Names compare without regard to case; a value equal to its default need not be stored.
#pragma once

#include <QString>
#include <QVariant>

namespace ktv {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;

    // The stored value of `name`, or `defaultValue` when the store has none.
    virtual QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const = 0;

    // Stores `value` under `name`. A value equal to `defaultValue` is not kept (an earlier one is dropped),
    // so reading it back with the same default gives the same value.
    virtual void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) = 0;
};

} // namespace ktv
