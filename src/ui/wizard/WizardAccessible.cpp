// The wizard's accessible interfaces: its window, and lists that answer with the name of
// their label instead of the entry they show.
#include "ui/wizard/WizardAccessible.h"

#include "ui/wizard/Frm_Vedaz.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace ktv {

namespace {

// A drop-down list: on this platform the toolkit names a list by its chosen entry and leaves
// the label to the relation, so two lists with the same entry cannot be told apart and an
// empty one reads as its frame's caption. A named list keeps its name; the entry is its value.
// The interface is made (and kept) while the list is being built, before it has its name.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || (t == QAccessible::Name && box()->accessibleName().isEmpty()))
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    // The entries, as the popup list holds them.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == box()->view() ? 0 : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& actionName) override
    {
        if (actionName != showMenuAction() && actionName != pressAction())
            return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* wizardFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // The program's window is a frame, not a filler inside one.
    if (className == QLatin1String(Frm_Vedaz::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("QComboBox") && !static_cast<QComboBox*>(widget)->isEditable())
        return new NamedComboBox(static_cast<QComboBox*>(widget));
    return nullptr;
}

} // namespace

void installWizardAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&wizardFactory);
        return true;
    }();
    (void)installed;
}

void nameByLabel(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    field->setAccessibleName(name.trimmed());
}

} // namespace ktv
