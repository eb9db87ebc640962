// In-memory property store with case-insensitive names.
#include "platform/qt/MemoryPropertyBag.h"

namespace ktv {

QVariant MemoryPropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto it = m_values.constFind(key(name));
    return it == m_values.constEnd() ? defaultValue : it.value();
}

void MemoryPropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                      const QVariant& defaultValue)
{
    // QVariant compares numbers by value across types, so 0x80000014 as uint and as qint64 match.
    if (defaultValue.isValid() && value == defaultValue)
        m_values.remove(key(name));
    else
        m_values.insert(key(name), value);
}

bool MemoryPropertyBag::contains(const QString& name) const { return m_values.contains(key(name)); }

} // namespace ktv
