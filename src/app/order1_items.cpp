// The order header and the item lines of "+", and "Clear".
#include "order1.h"

void TForm_order::AddOrderHeader() {}

void TForm_order::Button_addClick() {}

void TForm_order::Button_clearClick() {}
