// The three hand-offs of the order text: mail, clipboard and editor.
#include "order1.h"

void TForm_order::SendOrderByMail() {}

void TForm_order::CopyOrderToClipboard() {}

void TForm_order::OpenOrderInNotepad() {}

void TForm_order::Button_emailClick() {}

void TForm_order::Button_clipboardClick() {}

void TForm_order::Button_notepadClick() {}
