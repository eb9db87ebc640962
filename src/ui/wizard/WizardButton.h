// The one place that creates the wizard's buttons: owner-drawn push buttons of style 2
// with engraved, centred captions and no gradient.
#pragma once

#include "ui/controls/button/qvButtons_H.h"

#include <QRect>
#include <QString>

namespace ktv {

using WizardButton = qvButtons_H;

// A button named name with the caption ("&" marks the accelerator) at the pixel rectangle.
WizardButton* makeWizardButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);

} // namespace ktv
