// The one place that creates the wizard's buttons: owner-drawn push buttons of style 2
// with engraved, centred captions and no gradient. Declares the name only, so the forms
// that hold buttons need not see the control's or its painter's headers.
#pragma once

class QRect;
class QString;
class QWidget;

namespace ktv {

class qvButtons_H;
using WizardButton = qvButtons_H;

// A button named name with the caption ("&" marks the accelerator) at the pixel rectangle.
WizardButton* makeWizardButton(QWidget* parent, const QString& name, const QString& caption,
                               const QRect& geometry);

} // namespace ktv
