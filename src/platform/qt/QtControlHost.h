// The host of the controls of a running form: not a designer; access keys, the default and the
// cancel button through Qt shortcuts; the focused button draws as the default one and takes
// Enter; an arrow key a control hands to its container moves the focus along the tab order.
#pragma once

#include "platform/qt/ControlHost.h"
#include "platform/qt/QtHostCursor.h"
#include "platform/qt/QtHostTimers.h"

#include <QObject>
#include <QPointer>
#include <QShortcut>
#include <memory>

namespace ktv {

namespace detail {
// Constructed before the ControlHost base, so the base can hold references to them.
struct QtHostServices {
    QtHostTimers realTimers;
    QtHostCursor realCursor;
};
} // namespace detail

class QtControlHost final : private detail::QtHostServices, public ControlHost {
public:
    QtControlHost();                                       // real clock and mouse
    QtControlHost(HostTimers& timers, HostCursor& cursor); // e.g. fakes in tests
    ~QtControlHost() override;

    bool designMode() const override { return false; }
    bool displayAsDefault(const QWidget* control) const override;
    QString displayName(const QWidget* control) const override;
    void setAccessKeys(QWidget* control, const QString& keys) override;
    void setCancelControl(QWidget* control) override;

protected:
    void defaultChanged(QWidget* oldDefault, QWidget* newDefault) override;

private:
    class KeyRouter;

    void watchFocus();
    void focusMoved(QWidget* old, QWidget* now);
    QShortcut* keyShortcut(QWidget* control, const QKeySequence& keys, int keyAscii);
    // Keys the form acts on before a control sees them; true when the key is used up.
    bool routeKey(QObject* receiver, QEvent* event);
    // Alt with a letter that several visible controls share: the focus moves to the next of them.
    void nextWithAccessKey(QChar key);

    bool m_enterPressed = false;         // a button took Enter; its release is swallowed
    std::unique_ptr<KeyRouter> m_router; // the application's key filter and the focus connection
    QHash<const QWidget*, QList<QPointer<QShortcut>>> m_accessShortcuts;
    QList<QPointer<QShortcut>> m_defaultShortcuts;
    QList<QPointer<QShortcut>> m_cancelShortcuts;
};

} // namespace ktv
