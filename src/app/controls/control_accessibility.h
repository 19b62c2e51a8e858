#pragma once

// Gives the lists and the check box of the window what a screen reader needs where the
// toolkit's own description says the wrong thing. Safe to call any number of times; the
// controls call it themselves when they are made.
void InstallControlAccessibility();
