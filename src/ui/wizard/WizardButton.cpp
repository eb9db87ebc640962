// Button creation for the wizard.
#include "ui/wizard/WizardButton.h"

namespace ktv {

WizardButton* makeWizardButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = new WizardButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    // The wizard is no dialog: Enter on a box must not press a button behind the user's back.
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace ktv
