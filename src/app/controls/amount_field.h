#pragma once

class QLineEdit;

// Keeps a read-only amount field legible whatever amount it holds: when the text outgrows the
// field, the field first widens into the free room to its left (its right edge and the "EUR"
// beside it stay), then the text takes a smaller size until it fits. The whole amount is also
// the field's tooltip and what a screen reader describes. Every text the field gets is fitted,
// whoever writes it.
void KeepAmountWhole(QLineEdit* field);

// Shows an amount for reading only, out of the tab order but not disabled: a disabled field is
// skipped by screen readers outside their review mode, and its greyed text is too faint to
// read. The field takes the window's colours for text and background, whatever the theme, and
// keeps them when the theme changes.
void ShowAmountForReading(QLineEdit* field);
