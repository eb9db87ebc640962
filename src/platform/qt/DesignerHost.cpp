// A form designer hosting controls, as the tests and the gallery use it.
#include "platform/qt/DesignerHost.h"

#include "platform/qt/HostedControl.h"

namespace ktv {

QString DesignerHost::displayName(const QWidget* control) const
{
    if (!control)
        return {};
    auto it = m_names.find(control);
    if (it == m_names.end()) {
        const QString cls =
            QString::fromLatin1(control->metaObject()->className()).section(QStringLiteral("::"), -1);
        it = m_names.insert(control, cls + QString::number(++m_counters[cls]));
    }
    return it.value();
}

void DesignerHost::propertyChanged(QWidget* control, const QString& storedName)
{
    changes.append({control, storedName});
}

void DesignerHost::refresh(QWidget* control)
{
    ++m_refreshes[control];
    ControlHost::refresh(control);
}

void DesignerHost::place(HostedControl& control) { control.InitProperties(); }

MemoryPropertyBag DesignerHost::save(HostedControl& control)
{
    MemoryPropertyBag bag;
    control.WriteProperties(bag);
    return bag;
}

void DesignerHost::load(HostedControl& control, const PropertyBag& bag) { control.ReadProperties(bag); }

QStringList DesignerHost::changesOf(const QWidget* control) const
{
    QStringList names;
    for (const auto& change : changes)
        if (change.first == control)
            names.append(change.second);
    return names;
}

void DesignerHost::clearRecords()
{
    changes.clear();
    m_refreshes.clear();
}

} // namespace ktv
