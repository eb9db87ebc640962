// The host of the controls of a running form.
#include "platform/qt/QtControlHost.h"

#include "platform/qt/HostedControl.h"

#include <QApplication>

namespace ktv {

QtControlHost::QtControlHost() : ControlHost(realTimers, realCursor) { watchFocus(); }

QtControlHost::QtControlHost(HostTimers& timers, HostCursor& cursor) : ControlHost(timers, cursor)
{
    watchFocus();
}

QtControlHost::~QtControlHost()
{
    auto drop = [](QList<QPointer<QShortcut>>& list) {
        for (const auto& s : list)
            delete s.data();
        list.clear();
    };
    for (auto& list : m_accessShortcuts)
        drop(list);
    drop(m_defaultShortcuts);
    drop(m_cancelShortcuts);
}

void QtControlHost::watchFocus()
{
    m_context = std::make_unique<QObject>();
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QApplication::focusChanged, m_context.get(),
                         [this](QWidget* old, QWidget* now) { focusMoved(old, now); });
}

bool QtControlHost::displayAsDefault(const QWidget* control) const
{
    // As on the platform's forms: while a button has the focus it is the one Enter presses and it
    // draws as the default; otherwise the form's default button does.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && hostedFor(focus))
        return control == focus;
    return ControlHost::displayAsDefault(control);
}

void QtControlHost::focusMoved(QWidget* old, QWidget* now)
{
    if (!hostedFor(old) && !hostedFor(now))
        return;
    QList<QWidget*> concerned{old, now, defaultControl()};
    QList<QWidget*> told;
    for (QWidget* w : concerned) {
        if (told.contains(w))
            continue;
        told.append(w);
        if (HostedControl* hosted = hostedFor(w))
            hosted->AmbientChanged(QStringLiteral("DisplayAsDefault"));
    }
}

QString QtControlHost::displayName(const QWidget* control) const
{
    return control ? control->objectName() : QString();
}

QShortcut* QtControlHost::keyShortcut(QWidget* control, const QKeySequence& keys, int keyAscii)
{
    auto* shortcut = new QShortcut(keys, control);
    shortcut->setContext(Qt::WindowShortcut);
    QPointer<QWidget> target(control);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, [this, target, keyAscii] {
        if (HostedControl* hosted = hostedFor(target.data()))
            hosted->AccessKeyPress(keyAscii);
    });
    return shortcut;
}

void QtControlHost::setAccessKeys(QWidget* control, const QString& keys)
{
    ControlHost::setAccessKeys(control, keys);
    auto& list = m_accessShortcuts[control];
    for (const auto& s : list)
        delete s.data();
    list.clear();
    if (!control)
        return;
    for (const QChar key : keys) {
        const QChar upper = key.toUpper();
        list.append(keyShortcut(control, QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(upper.unicode()))),
                                key.unicode()));
    }
}

void QtControlHost::defaultChanged(QWidget* oldDefault, QWidget* newDefault)
{
    for (const auto& s : m_defaultShortcuts)
        delete s.data();
    m_defaultShortcuts.clear();
    if (newDefault) {
        m_defaultShortcuts.append(keyShortcut(newDefault, QKeySequence(Qt::Key_Return), 13));
        m_defaultShortcuts.append(keyShortcut(newDefault, QKeySequence(Qt::Key_Enter), 13));
    }
    ControlHost::defaultChanged(oldDefault, newDefault);
}

void QtControlHost::setCancelControl(QWidget* control)
{
    ControlHost::setCancelControl(control);
    for (const auto& s : m_cancelShortcuts)
        delete s.data();
    m_cancelShortcuts.clear();
    if (control)
        m_cancelShortcuts.append(keyShortcut(control, QKeySequence(Qt::Key_Escape), 27));
}

} // namespace ktv
