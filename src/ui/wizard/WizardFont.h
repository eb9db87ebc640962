// The wizard's font: Tahoma when the system has it (the font file is registered on first
// use), else the platform's sans font.
#pragma once

#include <QFont>

namespace ktv
{

QFont WizardFont();

} // namespace ktv
