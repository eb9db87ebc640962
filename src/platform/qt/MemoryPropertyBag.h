// An in-memory property store: what a designer host or a test hands a control to save into and load from.
#pragma once

#include "platform/qt/PropertyBag.h"

#include <QHash>

namespace ktv {

class MemoryPropertyBag final : public PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const override;
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) override;

    // Whether a value is stored under `name` (any case).
    bool contains(const QString& name) const;
    qsizetype count() const { return m_values.size(); }
    void clear() { m_values.clear(); }

private:
    static QString key(const QString& name) { return name.toCaseFolded(); }

    QHash<QString, QVariant> m_values; // keyed by the case-folded name
};

} // namespace ktv
