// The selection row: program or bundle, item kind, licence type, number, language, price.
#include "order1.h"

bool TForm_order::IsBundle() const
{
    return ComboBox_paket->currentIndex() == 1;
}

void TForm_order::FillProgramList() {}

void TForm_order::ShowPackageLicenceNo() {}

void TForm_order::UpdateLicenceControls() {}

void TForm_order::FillLanguageList() {}

void TForm_order::UpdateItemPrice() {}

void TForm_order::ComboBox_paketChange() {}

void TForm_order::ComboBox_programmChange() {}

void TForm_order::ComboBox_updateneuChange() {}

void TForm_order::ComboBox_lizenztypChange() {}

void TForm_order::SpinEdit_anzahlChange() {}
