// The accessible interface of the owner-drawn button.
#include "ui/controls/button/ButtonAccessible.h"

#include "platform/qt/ControlHost.h"
#include "ui/controls/button/qvButtons_H.h"

#include <QPointer>

namespace ktv {

namespace {

QAccessibleInterface* buttonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(qvButtons_H::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ButtonAccessible(static_cast<qvButtons_H*>(object));
    return nullptr;
}

} // namespace

ButtonAccessible::ButtonAccessible(qvButtons_H* button) : QAccessibleWidget(button, QAccessible::Button) {}

void ButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&buttonFactory);
        return true;
    }();
    (void)installed;
}

qvButtons_H* ButtonAccessible::button() const { return static_cast<qvButtons_H*>(widget()); }

QAccessible::Role ButtonAccessible::role() const
{
    switch (button()->Mode()) {
    case qvButtons_H::ModeCheck: return QAccessible::CheckBox;
    case qvButtons_H::ModeOption: return QAccessible::RadioButton;
    default: return QAccessible::Button;
    }
}

QString ButtonAccessible::spokenCaption(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                out += c, ++i;
            continue;
        }
        if (c == QLatin1Char('|') && i + 1 < caption.size() && caption[i + 1] == QLatin1Char('|')) {
            out += QLatin1Char(' ');
            ++i;
            continue;
        }
        out += c;
    }
    return out.simplified();
}

QString ButtonAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        const QString name = spokenCaption(button()->Caption());
        return name.isEmpty() ? QAccessibleWidget::text(t) : name;
    }
    case QAccessible::Accelerator: {
        const QString keys = button()->host().accessKeys(button());
        return keys.isEmpty() ? QString() : QStringLiteral("Alt+") + keys.left(1).toUpper();
    }
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state(); // focusable, focused, unavailable, invisible
    const qvButtons_H* b = button();
    if (b->Mode() != qvButtons_H::ModeCommand) {
        s.checkable = true;
        s.checked = b->Value();
    } else {
        s.pressed = b->stateFlags().testFlag(qvButtons_H::StatePressed);
        s.defaultButton =
            b->stateFlags().testFlag(qvButtons_H::StateDefault) || b->host().defaultControl() == b;
    }
    return s;
}

QStringList ButtonAccessible::actionNames() const
{
    if (!button()->isEnabled())
        return {};
    QStringList names{pressAction()};
    if (button()->Mode() == qvButtons_H::ModeCheck)
        names << toggleAction();
    return names;
}

void ButtonAccessible::doAction(const QString& actionName)
{
    if (!button()->isEnabled())
        return;
    // Pressing and toggling are one click, as the access key gives it. The assistive client
    // waits for this call to return, and a click may open a modal box or dialog that waits for
    // the operator: the click comes after the call has returned, as with standard buttons.
    if (actionName == pressAction() || actionName == toggleAction()) {
        const QPointer<qvButtons_H> b = button();
        QMetaObject::invokeMethod(
            b,
            [b] {
                if (b && b->isEnabled())
                    b->AccessKeyPress(0);
            },
            Qt::QueuedConnection);
    }
}

QStringList ButtonAccessible::keyBindingsForAction(const QString& actionName) const
{
    const QString key = text(QAccessible::Accelerator);
    if (actionName == pressAction() && !key.isEmpty())
        return {key};
    return {};
}

} // namespace ktv
