// A form designer hosting controls: design mode, instance names, a property store per save,
// recorded change notifications and refreshes, a hand-moved clock and mouse.
#pragma once

#include "platform/qt/ControlHost.h"
#include "platform/qt/ManualCursor.h"
#include "platform/qt/ManualTimers.h"
#include "platform/qt/MemoryPropertyBag.h"

#include <QPair>

namespace ktv {

namespace detail {
struct ManualHostServices {
    ManualTimers clock;
    ManualCursor mouse;
};
} // namespace detail

class DesignerHost final : private detail::ManualHostServices, public ControlHost {
public:
    DesignerHost() : ControlHost(clock, mouse) {}

    bool designMode() const override { return m_designMode; }
    void setDesignMode(bool on) { m_designMode = on; }

    // New instances are named after their class and numbered from 1 ("qvButtons_H1", ...).
    QString displayName(const QWidget* control) const override;
    void propertyChanged(QWidget* control, const QString& storedName) override;
    void refresh(QWidget* control) override;

    // Places a new control (InitProperties), saves it into a fresh store, loads it from one.
    void place(HostedControl& control);
    MemoryPropertyBag save(HostedControl& control);
    void load(HostedControl& control, const PropertyBag& bag);

    ManualTimers& timers() { return clock; }
    ManualCursor& cursor() { return mouse; }

    // What the controls reported.
    QList<QPair<const QWidget*, QString>> changes;
    QStringList changesOf(const QWidget* control) const;
    int refreshCount(const QWidget* control) const { return m_refreshes.value(control); }
    void clearRecords();

private:
    bool m_designMode = true;
    mutable QHash<const QWidget*, QString> m_names;
    mutable QHash<QString, int> m_counters;
    QHash<const QWidget*, int> m_refreshes;
};

} // namespace ktv
