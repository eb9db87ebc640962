// The host of the controls on a form, whether a form designer or the running program: design
// mode, ambient properties, change notification, message boxes, access keys, the container
// window, window refresh, and the timers and cursor the controls rely on.
#pragma once

#include "platform/core/MessageBox.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace ktv {

class HostCursor;
class HostTimers;
class HostedControl;

class ControlHost {
public:
    ControlHost(HostTimers& timers, HostCursor& cursor);
    virtual ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // The host of controls made without one: a running form on the real clock and mouse.
    static ControlHost& running();

    // --- ambient properties
    virtual bool designMode() const = 0;
    virtual bool displayAsDefault(const QWidget* control) const;
    virtual uint32_t ambientBackColor(const QWidget* control) const; // shared colour encoding
    virtual QString displayName(const QWidget* control) const = 0;
    virtual QFont ambientFont(const QWidget* control) const;
    virtual bool containerIsMdiParent(const QWidget* control) const;
    virtual QWidget* containerWindow(const QWidget* control) const;

    // Default and cancel buttons of the form; changing the default tells the controls concerned,
    // the running form binds Escape to the cancel button.
    void setDefaultControl(QWidget* control);
    QWidget* defaultControl() const { return m_default.data(); }
    virtual void setCancelControl(QWidget* control);

    // Sets the container back colour every control sees and tells them ("BackColor").
    void setAmbientBackColor(uint32_t color);
    // Tells every hosted control that an ambient property changed.
    void notifyAmbientChanged(const QString& name);

    // --- services
    // A stored property of `control` changed (the designer marks the form as modified).
    virtual void propertyChanged(QWidget* control, const QString& storedName);
    // A modal box titled with the application's title unless another title is given.
    MsgAnswer messageBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title = {});

    // The access keys of `control` (letters, compared without regard to case); empty for none.
    virtual void setAccessKeys(QWidget* control, const QString& keys);
    QString accessKeys(const QWidget* control) const { return m_accessKeys.value(control); }

    // The control's window content changed and must reach the screen.
    virtual void refresh(QWidget* control);

    HostTimers& timers() const { return m_timers; }
    HostCursor& cursor() const { return m_cursor; }

    // Controls register themselves for ambient changes while they live.
    void attach(HostedControl* control);
    void detach(HostedControl* control);
    const QList<HostedControl*>& controls() const { return m_controls; }

protected:
    HostedControl* hostedFor(const QWidget* window) const;
    virtual void defaultChanged(QWidget* oldDefault, QWidget* newDefault);

private:
    HostTimers& m_timers;
    HostCursor& m_cursor;
    QList<HostedControl*> m_controls;
    QHash<const QWidget*, QString> m_accessKeys;
    QPointer<QWidget> m_default;
    bool m_hasAmbientBack = false;
    uint32_t m_ambientBack = 0;
    const QString m_appTitle = QStringLiteral("KTVedaz");
};

} // namespace ktv
