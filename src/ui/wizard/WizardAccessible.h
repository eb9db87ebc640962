// What assistive technology sees of the wizard: the window as a frame, and every field named
// by the label beside it (its accessible name and the label's labelled-by relation).
#pragma once

class QLabel;
class QWidget;

namespace ktv {

// Makes the accessibility layer answer for the wizard's window and its drop-down lists; run
// before they are made. Idempotent.
void installWizardAccessibility();

// Names field by label: the label's text without its surrounding blanks and closing colon
// becomes the field's accessible name, and the label becomes its buddy. The label's own
// text does not change.
void nameByLabel(QLabel* label, QWidget* field);

} // namespace ktv
