// The order header and the item lines of "+", and "Clear".
#include "form/order1.h"

#include "core/order_text.h"

#include <QDate>

#include <optional>
#include <string>

void TForm_order::AddOrderHeader()
{
    if (!velmaro::OrderHeaderDue(orderText_->count()))
        return;
    orderText_->append(velmaro::OrderHeaderLines(today()));
}

void TForm_order::Button_addClick()
{
    const velmaro::AddCheck check =
        velmaro::AddCheckFor(!Edit_lizno->isHidden(), toUtf8(Edit_lizno->text()),
                             ComboBox_language->currentIndex(), ComboBox_programm->currentIndex());
    switch (check) {
    case velmaro::AddCheck::Ok:
        break;
    case velmaro::AddCheck::LicenceNoInvalid:
        showMessageAndFocus(fromUtf8(std::string(velmaro::kLicenceNoMessage)), Edit_lizno);
        return;
    case velmaro::AddCheck::LanguageMissing:
        showMessageAndFocus(fromUtf8(std::string(velmaro::kLanguageMessage)), ComboBox_language);
        return;
    case velmaro::AddCheck::ItemMissing:
        // The list's own heading names what is missing: "Software" or "Bundle".
        showMessageAndFocus(Label_programm->text(), ComboBox_programm);
        return;
    }

    // An item that would take the net sum past its limit is refused before anything is added.
    std::optional<velmaro::Money> newNetSum;
    guarded([&] { newNetSum = velmaro::NetSumPlus(netSum_, itemPrice_); });
    if (!newNetSum)
        return;

    if (orderText_->count() < 2)
        AddOrderHeader();

    velmaro::ItemLineFields item;
    item.number = toUtf8(SpinEdit_anzahl->text());
    item.program = toUtf8(ComboBox_programm->currentText());
    item.kindIndex = ComboBox_updateneu->currentIndex();
    item.kind = toUtf8(ComboBox_updateneu->currentText());
    item.licenceType = toUtf8(ComboBox_lizenztyp->currentText());
    item.language = toUtf8(ComboBox_language->currentText());
    item.licenceNo = toUtf8(Edit_lizno->text());
    orderText_->append(fromUtf8(velmaro::ItemLine(item, itemPrice_, moneyFormat_)));

    netSum_ = *newNetSum;
    Edit_sumnet->setText(fromUtf8(velmaro::MoneyText(netSum_, moneyFormat_)));
}

void TForm_order::Button_clearClick()
{
    orderText_->clear();
    netSum_ = {};
    // Show the reset at once, so the field never shows a sum of lines that are gone.
    Edit_sumnet->setText(fromUtf8(velmaro::MoneyText(netSum_, moneyFormat_)));
    // The code was the cleared closing's: it must not be paid again for a new order.
    setPaymentCode({});
}

velmaro::Date TForm_order::today()
{
    const QDate date = QDate::currentDate();
    return {date.year(), date.month(), date.day()};
}
