// Common part of the control hosts.
#include "platform/qt/ControlHost.h"

#include "platform/qt/HostedControl.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/SystemColors.h"

#include <QMdiArea>

namespace ktv {

ControlHost::ControlHost(HostTimers& timers, HostCursor& cursor) : m_timers(timers), m_cursor(cursor) {}

ControlHost::~ControlHost() = default;

ControlHost& ControlHost::running()
{
    static QtControlHost host;
    return host;
}

bool ControlHost::displayAsDefault(const QWidget* control) const
{
    return control && control == m_default.data();
}

uint32_t ControlHost::ambientBackColor(const QWidget* control) const
{
    if (m_hasAmbientBack)
        return m_ambientBack;
    // A container with a palette of its own paints that colour; otherwise it is the button face.
    const QWidget* container = containerWindow(control);
    if (container && container->testAttribute(Qt::WA_SetPalette))
        return ColorToValue(container->palette().color(container->backgroundRole()));
    return SystemColor(SysColorButtonFace);
}

QFont ControlHost::ambientFont(const QWidget* control) const
{
    const QWidget* container = containerWindow(control);
    return container ? container->font() : QFont();
}

bool ControlHost::containerIsMdiParent(const QWidget* control) const
{
    return qobject_cast<const QMdiArea*>(containerWindow(control)) != nullptr;
}

QWidget* ControlHost::containerWindow(const QWidget* control) const
{
    return control ? control->parentWidget() : nullptr;
}

void ControlHost::setDefaultControl(QWidget* control)
{
    QWidget* old = m_default.data();
    if (old == control)
        return;
    m_default = control;
    defaultChanged(old, control);
}

void ControlHost::defaultChanged(QWidget* oldDefault, QWidget* newDefault)
{
    for (QWidget* w : {oldDefault, newDefault})
        if (HostedControl* hosted = hostedFor(w))
            hosted->AmbientChanged(QStringLiteral("DisplayAsDefault"));
}

void ControlHost::setCancelControl(QWidget*) {}

void ControlHost::setAmbientBackColor(uint32_t color)
{
    m_hasAmbientBack = true;
    m_ambientBack = color;
    notifyAmbientChanged(QStringLiteral("BackColor"));
}

void ControlHost::notifyAmbientChanged(const QString& name)
{
    // Copy: a control may leave the host while it reacts.
    const auto controls = m_controls;
    for (HostedControl* control : controls)
        if (m_controls.contains(control))
            control->AmbientChanged(name);
}

void ControlHost::propertyChanged(QWidget*, const QString&) {}

MsgAnswer ControlHost::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return MsgBox(text.toStdString(), buttons, icon, (title.isEmpty() ? m_appTitle : title).toStdString());
}

void ControlHost::setAccessKeys(QWidget* control, const QString& keys)
{
    if (keys.isEmpty())
        m_accessKeys.remove(control);
    else
        m_accessKeys.insert(control, keys);
}

void ControlHost::refresh(QWidget* control)
{
    if (control)
        control->update();
}

void ControlHost::attach(HostedControl* control)
{
    if (control && !m_controls.contains(control))
        m_controls.append(control);
}

void ControlHost::detach(HostedControl* control)
{
    m_controls.removeAll(control);
    for (auto it = m_accessKeys.begin(); it != m_accessKeys.end();) {
        if (!hostedFor(it.key()))
            it = m_accessKeys.erase(it);
        else
            ++it;
    }
}

HostedControl* ControlHost::hostedFor(const QWidget* window) const
{
    if (!window)
        return nullptr;
    for (HostedControl* control : m_controls)
        if (control->controlWindow() == window)
            return control;
    return nullptr;
}

} // namespace ktv
