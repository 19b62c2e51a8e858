// Delivery, payment and the closing blocks of "---->".
#include "order1.h"

void TForm_order::UpdateVatControls() {}

void TForm_order::UpdatePostage() {}

void TForm_order::UpdatePaymentControls() {}

void TForm_order::ComboBox_locationChange() {}

void TForm_order::ComboBox_versandChange() {}

void TForm_order::ComboBox_zahlungChange() {}

void TForm_order::Button_zahlungClick() {}
