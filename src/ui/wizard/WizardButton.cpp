// Button creation for the wizard.
#include "ui/wizard/WizardButton.h"

#include "ui/controls/button/qvButtons_H.h"

#include <QRect>
#include <QString>

namespace ktv {

WizardButton* makeWizardButton(QWidget* parent, const QString& name, const QString& caption,
                               const QRect& geometry)
{
    auto* button = new WizardButton(parent);
    button->setObjectName(name);
    button->InitProperties();
    button->DelayDrawing(true); // one drawing once every property is set
    button->setMode(0);
    button->setButtonShape(0);
    button->setButtonStyle(2);
    button->setGradientMode(0);
    button->setCaptionStyle(qvButtons_H::CaptionEngraved);
    button->setCaptionAlign(qvButtons_H::CaptionCenter);
    button->setCaption(caption);
    button->setGeometry(geometry);
    button->DelayDrawing(false);
    return button;
}

} // namespace ktv
