#pragma once

#include <QString>

class QLineEdit;

// What a text brought into a field becomes. A line break is CR LF, a lone LF or CR, or one of
// the Unicode line and paragraph separators; a person makes or brings in any of them with
// Shift+Enter, a paste or a drop, and all of them must mean the same thing downstream.

// For the order text: every line break becomes one plain paragraph break, so that the line
// count, the hand-offs and the file see exactly the lines the customer sees.
QString WithPlainLineBreaks(const QString& text);

// For a one-line field: the line breaks that end the text are dropped, and every other line
// break becomes one blank, so a pasted "DE123<CR><LF>" stays one line "DE123".
QString OnOneLine(const QString& text);

// Makes every way text arrives in the field (paste keys, the context menu's Paste, the
// middle-button paste of the selection, drag and drop, a key or an input method whose text
// holds a line break) keep it on one line, by OnOneLine; a single typed line break becomes a
// blank. Enter never reaches the field as text.
void KeepOnOneLine(QLineEdit* field);
