// The host of the controls of a running form.
#include "platform/qt/QtControlHost.h"

#include "platform/qt/HostedControl.h"

#include <QApplication>
#include <QKeyEvent>

namespace ktv {

namespace {

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

bool isPlainEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Whether w could take the focus from the keyboard now.
bool reachable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

} // namespace

class QtControlHost::KeyRouter final : public QObject {
public:
    explicit KeyRouter(QtControlHost& host) : m_host(host) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_host.routeKey(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    QtControlHost& m_host;
};

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
    m_router = std::make_unique<KeyRouter>(*this);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QApplication::focusChanged, m_router.get(),
                         [this](QWidget* old, QWidget* now) { focusMoved(old, now); });
        app->installEventFilter(m_router.get());
    }
}

bool QtControlHost::routeKey(QObject* receiver, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease && m_enterPressed) {
        // The Enter that pressed a button is used up: its release must not act again in the
        // control the click moved the focus to (page 2's list takes Enter as Tab).
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
            m_enterPressed = false;
            return true;
        }
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    QWidget* focus = QApplication::focusWidget();
    HostedControl* hosted = hostedFor(focus);
    if (!hosted)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);

    // The focused button is the one Enter presses, ahead of the form's default button.
    if (isPlainEnter(key) && receiver == focus) {
        event->accept();
        if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
            m_enterPressed = true;
            hosted->AccessKeyPress(13);
        }
        return true;
    }

    // A control hands an arrow key to its container by posting it there; the container moves
    // the focus to the next (Right, Down) or previous (Left, Up) control, which then gets the
    // key's release.
    auto* container = qobject_cast<QWidget*>(receiver);
    if (type == QEvent::KeyPress && isArrowKey(key->key()) && !event->spontaneous() && container &&
        container != focus && container->isAncestorOf(focus)) {
        const bool forward = key->key() == Qt::Key_Right || key->key() == Qt::Key_Down;
        QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
                      forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::sendEvent(focus, &tab);
        return true;
    }
    return false;
}

void QtControlHost::nextWithAccessKey(QChar key)
{
    QWidget* start = QApplication::focusWidget();
    if (!start)
        start = QApplication::activeWindow();
    if (!start)
        return;
    auto hasKey = [this, key](QWidget* w) {
        return hostedFor(w) && reachable(w) && accessKeys(w).contains(key, Qt::CaseInsensitive);
    };
    for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
        if (hasKey(w)) {
            w->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
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
        QShortcut* shortcut = keyShortcut(
            control, QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(upper.unicode()))), key.unicode());
        // Several visible controls with this key: Qt presses none, the platform moved the focus.
        QObject::connect(shortcut, &QShortcut::activatedAmbiguously, shortcut,
                         [this, key] { nextWithAccessKey(key); });
        list.append(shortcut);
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
