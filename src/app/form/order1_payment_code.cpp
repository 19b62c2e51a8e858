// The payment code of the last "---->": on the screen in a window of its own, and with the
// printed order and its PDF.
#include "form/order1.h"
#include "form/payment_code_window.h"
#include "print/order_print.h"

#include <utility>

void TForm_order::setPaymentCode(velmaro::PaymentCode code)
{
    paymentCode_ = std::move(code);
    if (paymentCodeWindow_)
        paymentCodeWindow_->showCode(paymentCode_);
}

void TForm_order::ShowPaymentCode()
{
    if (!paymentCodeWindow_) {
        // A child of the order window, so it goes when the order window goes; closing the order
        // window closes it too.
        paymentCodeWindow_ = new PaymentCodeWindow(this);
        connect(this, &QDialog::finished, paymentCodeWindow_, &QWidget::close);
        paymentCodeWindow_->showCode(paymentCode_);
    }
    paymentCodeWindow_->show();
    paymentCodeWindow_->raise();
    paymentCodeWindow_->activateWindow();
}

PrintedPaymentCode TForm_order::printedPaymentCode() const
{
    if (!paymentCode_.ready())
        return {};
    return {PaymentCodeSymbol(paymentCode_.payload), QString::fromStdString(paymentCode_.text)};
}
