// The wizard's font: DejaVu Sans Condensed at Tahoma's 8.25 points. Its captions come out
// about as wide as Tahoma's, and it draws every Turkish letter right at that size, which the
// Tahoma of the Wine fonts does not (its "İ" loses the dot and leaves a gap).
#pragma once

#include <QFont>
#include <QString>

namespace ktv {

// The family the wizard's texts are drawn in; registered from its Debian font file on first
// use when the font database does not list it. Falls back to Tahoma, then the system's sans.
QString WizardFontFamily();

QFont WizardFont();

} // namespace ktv
