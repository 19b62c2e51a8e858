// The customer's licence table, update orders and the upgrade inquiry.
#include "order1.h"

void TForm_order::UpdateLicenceTableVisibility() {}

void TForm_order::CheckBox_lizenzenClick() {}

void TForm_order::SpinButton_lizenzenDownClick() {}

void TForm_order::SpinButton_lizenzenUpClick() {}

void TForm_order::Button_orderupdatesClick() {}

void TForm_order::Button_upgradeClick() {}
