// The one place that creates the wizard's buttons, so the button control can replace the
// plain Qt stand-in by a change here alone.
#pragma once

#include <QPushButton>
#include <QString>

namespace ktv {

using WizardButton = QPushButton;

// A button named name with the caption ("&" marks the accelerator) at the pixel rectangle.
WizardButton* makeWizardButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);

} // namespace ktv
