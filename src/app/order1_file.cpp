// The saved order file order.qzo.
#include "order1.h"

void TForm_order::SaveOrderFile() {}

void TForm_order::LoadOrderFile() {}

void TForm_order::Button_saveClick() {}

void TForm_order::Button_loadClick() {}
