#pragma once

#include "controls/order_lines.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/payment_code.h"
#include "form/ui_order1.h"

#include <QDialog>

#include <exception>
#include <memory>

class Desktop;
class OrderSafeguard;
class PaymentCodeWindow;
class QComboBox;
class QMenu;
struct PrintedPaymentCode;

namespace velmaro {
struct RecoveryCopy;
struct SavedOrder;
} // namespace velmaro

// A select that leaves the list without selection for an index it does not have.
void selectIndex(QComboBox* list, int index);

// The order window. It owns every control, the order text, both tables, the four amounts and
// the two flags; the rules of the order text live in the core, which the handlers call with the
// controls' plain values.
class TForm_order : public QDialog, public Ui_TForm_order {
    Q_OBJECT
public:
    explicit TForm_order(Desktop& desktop, QWidget* parent = nullptr);
    ~TForm_order() override;

    // The window's state, as the handlers leave it.
    velmaro::Money netSum() const { return netSum_; }
    velmaro::Money postage() const { return postage_; }
    velmaro::Money total() const { return total_; }
    velmaro::Money itemPrice() const { return itemPrice_; }
    bool savedFlag() const { return saved_; }
    bool mailedFlag() const { return mailed_; }
    bool activated() const { return activated_; }
    OrderLines& orderText() { return *orderText_; }
    const velmaro::MoneyFormat& moneyFormat() const { return moneyFormat_; }
    // The payment code of the last "---->" of this run, or why there is none.
    const velmaro::PaymentCode& paymentCode() const { return paymentCode_; }

    // Creation and the first activation.
    void FormCreate();
    void FormActivate();

    // Selection row and item price.
    bool IsBundle() const;
    void FillProgramList();
    void ShowPackageLicenceNo();
    void UpdateLicenceControls();
    void FillLanguageList();
    void UpdateItemPrice();
    void ComboBox_paketChange();
    void ComboBox_programmChange();
    void ComboBox_updateneuChange();
    void ComboBox_lizenztypChange();
    void SpinEdit_anzahlChange();

    // Order header and item lines.
    void AddOrderHeader();
    void Button_addClick();
    void Button_clearClick();

    // Delivery, payment and totals.
    void UpdateVatControls();
    void UpdatePostage();
    void UpdatePaymentControls();
    void ComboBox_locationChange();
    void ComboBox_versandChange();
    void ComboBox_zahlungChange();
    void Button_zahlungClick();

    // Licence table, update orders and upgrade inquiry.
    void UpdateLicenceTableVisibility();
    void CheckBox_lizenzenClick();
    void SpinButton_lizenzenDownClick();
    void SpinButton_lizenzenUpClick();
    void Button_orderupdatesClick();
    void Button_upgradeClick();

    // Hand-offs of the order text.
    // False when no mail program took the request (the user has been told).
    bool SendOrderByMail();
    void CopyOrderToClipboard();
    void OpenOrderInNotepad();
    void Button_emailClick();
    void Button_clipboardClick();
    void Button_notepadClick();

    // Closing flow.
    void Button_okClick();
    void Button_cancelClick();
    void Button_helpClick();

    // Saved order file.
    void SaveOrderFile();
    // False when the file held no readable net sum; the caller then tells the customer with
    // NetSumUnreadMessage once the window shows the loaded order.
    bool LoadOrderFile();
    void NetSumUnreadMessage();
    void Button_saveClick();
    void Button_loadClick();

    // The recovery copy. With a safeguard, the first activation offers a copy left by an ended
    // process in place of loading order.qzo, every change reaches a new copy, and the ends the
    // customer chooses remove it. Without one (the window tests), none of this happens.
    void setSafeguard(OrderSafeguard* safeguard) { safeguard_ = safeguard; }
    velmaro::RecoveryCopy recoveryCopy();
    void applyRecoveryCopy(velmaro::RecoveryCopy& copy);
    // Whether the window was ended by the customer: "OK" through to its end, "Cancel",
    // Escape or the close box.
    bool endedByCustomer() const { return endedByCustomer_; }

    // Printing and PDF of the order text.
    void PrintOrder();
    void SaveOrderAsPdf();
    // The order text's context menu: the standard entries, "Payment code…", then "Print…" and
    // "Save as PDF…".
    QMenu* createOrderTextMenu();

    // The payment code's window, opened or brought to the front.
    void ShowPaymentCode();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runFirstActivation();
    // The refresh routines of the first activation, in their order, after the lists' defaults
    // or a loaded order have been set.
    void refreshAfterSelections();
    // The order as shown, an open cell editor's text included; it commits nothing, so taking a
    // recovery copy never changes the form.
    velmaro::SavedOrder savedOrder();
    void applySavedOrder(velmaro::SavedOrder& order);
    // Asks whether to take back a copy left by an ended process; true when it was restored.
    bool offerRecoveryCopy();
    void watchForChanges();
    void endByCustomer();
    void connectHandlers();
    void connectPrinting();
    void fitLabels();
    void describeForAssistiveTools();
    // Runs one event's work; an error that ends the event is shown in the error box and goes
    // no further, so no exception ever reaches the event loop.
    template <typename Work> void guarded(Work&& work);
    void showError(const QString& message);
    void showMessageAndFocus(const QString& message, QWidget* field);
    static velmaro::Date today();
    // Replaces the payment code, and what its window shows.
    void setPaymentCode(velmaro::PaymentCode code);
    PrintedPaymentCode printedPaymentCode() const;

    Desktop& desktop_;
    std::unique_ptr<OrderLines> orderText_;
    velmaro::MoneyFormat moneyFormat_;

    velmaro::Money netSum_;
    velmaro::Money postage_;
    velmaro::Money total_;
    velmaro::Money itemPrice_;
    velmaro::PaymentCode paymentCode_;
    PaymentCodeWindow* paymentCodeWindow_ = nullptr;
    bool saved_ = false;
    bool mailed_ = false;
    bool activated_ = false;
    OrderSafeguard* safeguard_ = nullptr;
    bool endedByCustomer_ = false;
};

template <typename Work> void TForm_order::guarded(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        showError(QString::fromStdString(velmaro::ErrorMessage(error)));
    }
}
