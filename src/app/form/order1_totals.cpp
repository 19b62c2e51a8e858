// Delivery, payment and the closing blocks of "---->".
#include "form/order1.h"

#include "core/order_text.h"

#include <QLineEdit>

namespace {

std::string labelText(const QLabel* label)
{
    return toUtf8(label->text());
}

} // namespace

void TForm_order::UpdateVatControls()
{
    // Only customers in the European Union (outside Germany) give a VAT number.
    const bool shown = ComboBox_location->currentIndex() == 1;
    Edit_vatno->setVisible(shown);
    Label_vatno->setVisible(shown);
}

void TForm_order::UpdatePostage()
{
    postage_ = velmaro::Postage(ComboBox_versand->currentIndex(), ComboBox_location->currentIndex(),
                                postage_);
    Edit_versandkosten->setText(fromUtf8(velmaro::MoneyText(postage_, moneyFormat_)));
}

void TForm_order::UpdatePaymentControls()
{
    // The card fields only carry their texts to and from the saved order; no payment kind
    // takes card details.
    for (QLineEdit* card :
         {Edit_visa1, Edit_visa2, Edit_visa3, Edit_visa4, Edit_expdate, Edit_cardholder})
        card->hide();

    const velmaro::PaymentInstructions labels =
        velmaro::PaymentInstructionsFor(ComboBox_zahlung->currentIndex());
    Label_zahlungstext->setText(fromUtf8(labels.line1));
    Label_zahlungstext2->setText(fromUtf8(labels.line2));
    Label_zahlungstext3->setText(fromUtf8(labels.line3));
}

void TForm_order::ComboBox_locationChange()
{
    UpdateVatControls();
    UpdatePostage();
}

void TForm_order::ComboBox_versandChange()
{
    UpdatePostage();
}

void TForm_order::ComboBox_zahlungChange()
{
    UpdatePaymentControls();
}

void TForm_order::Button_zahlungClick()
{
    // The field's own state, not whether the window happens to be on screen.
    const bool vatNoShown = !Edit_vatno->isHidden();
    const std::string vatNo = toUtf8(Edit_vatno->text());

    switch (velmaro::ClosingCheckFor(netSum_, vatNoShown, vatNo)) {
    case velmaro::ClosingCheck::NothingToClose:
        return;
    case velmaro::ClosingCheck::VatNoMissing:
        showMessageAndFocus(fromUtf8(std::string(velmaro::kVatNoMessage)), Edit_vatno);
        return;
    case velmaro::ClosingCheck::Ok:
        break;
    }

    velmaro::ClosingInput input;
    input.netSum = netSum_;
    input.postage = postage_;
    input.location = ComboBox_location->currentIndex();
    input.payment = ComboBox_zahlung->currentIndex();
    input.vatNoShown = vatNoShown;
    input.vatNo = vatNo;
    input.sumNetCaption = labelText(Label_sumnet);
    input.postageCaption = labelText(Label_versandkosten);
    input.vatNoCaption = labelText(Label_vatno);
    input.paymentCaption = labelText(Label_zahlung);
    input.paymentLabels = {labelText(Label_zahlungstext), labelText(Label_zahlungstext2),
                           labelText(Label_zahlungstext3)};
    StringGrid_adresse->commitOpenEdit();
    for (int row = 0; row < static_cast<int>(input.address.size()); ++row)
        input.address[static_cast<std::size_t>(row)] = toUtf8(StringGrid_adresse->cell(1, row));

    // Totals that would leave Money's range are refused with a message, and nothing is added.
    guarded([&] {
        velmaro::ClosingBlock block = velmaro::ClosingLines(input, moneyFormat_);
        total_ = block.total;
        orderText_->append(block.lines);
        setPaymentCode(velmaro::PaymentCodeFor(
            {input.payment, total_, today(), input.address[0], input.address[1]}, moneyFormat_));
    });
}
