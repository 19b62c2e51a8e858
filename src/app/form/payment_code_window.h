#pragma once

#include "core/payment_code.h"
#include "print/payment_code_picture.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The order's payment code on the screen, for the customer with a phone in hand: the symbol
// large enough to scan from a laptop, its caption and a Close button, or why there is no code.
// Modeless, so the order window stays at hand; it follows the code it is given while open.
class PaymentCodeWindow : public QDialog {
    Q_OBJECT
public:
    // The least side of the symbol without its quiet zone, in device-independent pixels, where
    // the screen has room for it.
    static constexpr int kMinCodeSide = 250;

    explicit PaymentCodeWindow(QWidget* orderWindow);

    // Shows this code and its caption, or the reason there is none in place of the caption.
    void showCode(const velmaro::PaymentCode& code);

    QLabel* Image_code;
    QLabel* Label_caption;
    QPushButton* Button_close;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void render();

    PaymentCodeSymbol symbol_;
    bool followsScreen_ = false;
};
