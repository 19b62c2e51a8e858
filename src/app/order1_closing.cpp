// OK, Cancel and Help.
#include "order1.h"

void TForm_order::Button_okClick() {}

void TForm_order::Button_cancelClick()
{
    // Cancel, Escape and the close box end the program at once, without asking.
    close();
}

void TForm_order::Button_helpClick() {}
