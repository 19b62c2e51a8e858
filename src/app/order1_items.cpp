// The order header and the item lines of "+", and "Clear".
#include "order1.h"

#include "core/order_text.h"

#include <QDate>

void TForm_order::AddOrderHeader() {}

void TForm_order::Button_addClick() {}

void TForm_order::Button_clearClick() {}
