// The wizard's icon, painted rather than stored: a source file passing its cards into a
// company database. The window shows it, and the build writes it out for the desktop entry.
#pragma once

#include <QIcon>
#include <QImage>

namespace ktv {

// The icon at size × size pixels, transparent around the rounded square.
QImage WizardIconImage(int size);

// The window icon, at the sizes window systems ask for.
QIcon WizardIcon();

} // namespace ktv
