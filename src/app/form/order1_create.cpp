// Creation of the order window and its first activation.
#include "form/order1.h"

#include "controls/amount_field.h"
#include "core/errors.h"
#include "platform/desktop.h"
#include "platform/order_safeguard.h"
#include "controls/line_breaks.h"
#include "platform/screen_scaling.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

velmaro::MoneyFormat systemMoneyFormat()
{
    const QLocale locale = QLocale::system();
    velmaro::MoneyFormat format;
    if (!locale.groupSeparator().isEmpty())
        format.thousandsSeparator = locale.groupSeparator().toStdString();
    if (!locale.decimalPoint().isEmpty())
        format.decimalSeparator = locale.decimalPoint().toStdString();
    return format;
}

} // namespace

TForm_order::TForm_order(Desktop& desktop, QWidget* parent)
    : QDialog(parent, Qt::Window), desktop_(desktop), moneyFormat_(systemMoneyFormat())
{
    setupUi(this);
    orderText_ = std::make_unique<OrderLines>(Memo1);
    FormCreate();
    connectHandlers();
    connectPrinting();
}

TForm_order::~TForm_order()
{
    // Closing down may still correct the number field; nothing is left to price it.
    SpinEdit_anzahl->disconnect(this);
}

void TForm_order::FormCreate()
{
    ComputeScalePercent();
    ScaleAndCentreForm(this);
    setWindowTitle(QStringLiteral("VELMARO Order Software V6.1"));

    Label_ordervelmaro->setText(QStringLiteral("VELMARO Software Purchase Order"));
    GroupBox1->setTitle(QStringLiteral(" Delivery and Payment "));
    Label_versand->setText(QStringLiteral("Delivery"));
    Label_versandkosten->setText(QStringLiteral("Postage cost"));
    Label_location->setText(QStringLiteral("Location"));
    Label_zahlung->setText(QStringLiteral("Payment"));
    Label_einzelpreis->setText(QStringLiteral("Price net"));
    Label_sumnet->setText(QStringLiteral("sum net"));
    Label_programm->setText(QStringLiteral("software"));
    Label_updateneu->setText(QStringLiteral("New/Update"));
    Label_lizenztyp->setText(QStringLiteral("License"));
    Label_anzahl->setText(QStringLiteral("Number"));
    label_Language->setText(QStringLiteral("Language"));
    Label_lizno->setText(QStringLiteral("Lic.No."));
    Button_orderupdates->setText(QStringLiteral("Order Updates"));
    Button_upgrade->setText(QStringLiteral("Upgrade inquiry"));
    Button_cancel->setText(QStringLiteral("Cancel"));
    Button_help->setText(QStringLiteral("Help"));

    ComboBox_paket->addItem(QStringLiteral("Program"));
    ComboBox_paket->addItem(QStringLiteral("Bundle"));
    ComboBox_zahlung->setItemText(0, QStringLiteral("Bank transfer"));
    ComboBox_zahlung->setItemText(1, QStringLiteral("PayPal"));
    CheckBox_lizenzen->setText(QStringLiteral("My Licenses"));

    // One instruction per line.
    Label_help->setText(QStringLiteral(
        "1. select program(s), license, language, then click \"+\" button (repeat for further)\n"
        "2. input delivery, payment and address data, then click --> button\n"
        "3. click Email button to generate email\n"
        "4. if not succesful: run your email program and copy text via clipboard\n"
        "5. Send Email"));

    StringGrid_lizenzen->setShape(6, 9, true);
    StringGrid_lizenzen->setColumnWidths(64);
    StringGrid_lizenzen->setRowHeights(16);
    const char* titles[] = {"Program", "Lic.No.", "Version", "User", "..."};
    for (int col = 1; col <= 5; ++col)
        StringGrid_lizenzen->setCell(col, 0, QString::fromLatin1(titles[col - 1]));
    // Row numbers run one ahead of the shown rows: the held row past the last shown one is
    // numbered already, for when the table grows.
    for (int row = 1; row <= StringGrid_lizenzen->rowCount(); ++row)
        StringGrid_lizenzen->setCell(0, row, QString::number(row));

    ComboBox_updateneu->addItem(QStringLiteral("New"));
    ComboBox_updateneu->addItem(QStringLiteral("Update (Win32/64)"));
    ComboBox_updateneu->addItem(QStringLiteral("Update Win64"));
    ComboBox_lizenztyp->addItem(QStringLiteral("Individual"));
    ComboBox_lizenztyp->addItem(QStringLiteral("Network Floating"));

    StringGrid_adresse->setShape(2, 6, false);
    StringGrid_adresse->setColumnWidths(150);
    StringGrid_adresse->setRowHeights(16);
    StringGrid_adresse->setCell(0, 0, QStringLiteral("Company"));
    StringGrid_adresse->setCell(0, 1, QStringLiteral("Name"));
    StringGrid_adresse->setCell(0, 2, QStringLiteral("Adress"));
    StringGrid_adresse->setCell(0, 5, QStringLiteral("Email"));

    Edit_vatno->clear();
    orderText_->clear();
    netSum_ = {};
    saved_ = false;
    mailed_ = false;

    fitLabels();
    GroupBox1->installEventFilter(this);
    // In the scroll area, captions report their new sizes to the controls' area, not to the
    // window.
    GroupBox1->parentWidget()->installEventFilter(this);
    describeForAssistiveTools();
    for (QLineEdit* amount : {Edit_einzelpreis, Edit_sumnet, Edit_versandkosten}) {
        ShowAmountForReading(amount);
        KeepAmountWhole(amount);
    }

    // No list has a selection until the first activation.
    for (QComboBox* list :
         {ComboBox_paket, ComboBox_programm, ComboBox_updateneu, ComboBox_lizenztyp,
          ComboBox_language, ComboBox_location, ComboBox_versand, ComboBox_zahlung})
        list->setCurrentIndex(-1);
}

void TForm_order::FormActivate()
{
    // Selecting entries here fires no change handler; the routines below are called directly.
    ComboBox_versand->setCurrentIndex(0);
    ComboBox_zahlung->setCurrentIndex(0);
    ComboBox_location->setCurrentIndex(1);
    ComboBox_language->setCurrentIndex(1);
    FillProgramList();
    ComboBox_paket->setCurrentIndex(0);
    ComboBox_programm->setCurrentIndex(0);
    ComboBox_updateneu->setCurrentIndex(0);
    ComboBox_lizenztyp->setCurrentIndex(0);

    // An order the last run left unsaved comes first, with the customer's leave. A saved order
    // that cannot be read is reported, and the window still comes up complete with its defaults.
    if (offerRecoveryCopy()) {
        watchForChanges();
        return;
    }
    bool netSumUnread = false;
    if (QFileInfo::exists(QStringLiteral("order.qzo")))
        guarded([&] { netSumUnread = !LoadOrderFile(); });

    refreshAfterSelections();
    watchForChanges();
    // Said over the window as the loaded order shows, not over one still half set up (both the
    // guide and the licence table, no prices, card fields for a bank transfer).
    if (netSumUnread)
        NetSumUnreadMessage();
}

void TForm_order::refreshAfterSelections()
{
    UpdatePaymentControls();
    UpdateVatControls();
    UpdatePostage();
    FillLanguageList();
    UpdateLicenceControls();
    UpdateItemPrice();
    ShowPackageLicenceNo();
    UpdateLicenceTableVisibility();
}

bool TForm_order::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest)
        fitLabels();
    // The activation sequence runs once, at the first activation or just after the first show,
    // whichever comes first: a Wayland compositor may never give a window started without an
    // activation token the focus, and the form must not stay blank there. After the show it is
    // queued, so the window is on the screen before a box about the saved order can come up.
    // Coming back from a message box, the choice dialog or another program must not reset the
    // selections or reload the file.
    if (event->type() == QEvent::WindowActivate)
        runFirstActivation();
    else if (event->type() == QEvent::Show && !activated_)
        QMetaObject::invokeMethod(this, &TForm_order::runFirstActivation, Qt::QueuedConnection);
    return QDialog::event(event);
}

void TForm_order::runFirstActivation()
{
    if (activated_)
        return;
    activated_ = true;
    FormActivate();
}

void TForm_order::describeForAssistiveTools()
{
    // Screen readers announce a field by its label; controls without a caption of their own get
    // a name for their role.
    const QList<QPair<QLabel*, QWidget*>> buddies = {
        {Label3, ComboBox_paket},
        {Label_programm, ComboBox_programm},
        {Label_updateneu, ComboBox_updateneu},
        {Label_lizenztyp, ComboBox_lizenztyp},
        {Label_anzahl, SpinEdit_anzahl},
        {label_Language, ComboBox_language},
        {Label_lizno, Edit_lizno},
        {Label_einzelpreis, Edit_einzelpreis},
        {Label_sumnet, Edit_sumnet},
        {Label_location, ComboBox_location},
        {Label_vatno, Edit_vatno},
        {Label_versand, ComboBox_versand},
        {Label_versandkosten, Edit_versandkosten},
        {Label_zahlung, ComboBox_zahlung},
    };
    // The name is taken from the label whenever it is asked for, so a caption that changes
    // with the choices ("Software", "Bundle") is what is heard.
    for (const auto& [label, field] : buddies)
        label->setBuddy(field);
    Button_add->setAccessibleName(QStringLiteral("Add item to the order"));
    // Tab passes by the price, so "+" tells what it will add.
    connect(Edit_einzelpreis, &QLineEdit::textChanged, Button_add, [this](const QString& price) {
        Button_add->setAccessibleDescription(
            price.isEmpty() ? QString()
                            : QStringLiteral("%1: %2 EUR").arg(Label_einzelpreis->text(), price));
    });
    Button_zahlung->setAccessibleName(QStringLiteral("Complete the order with totals and address"));
    Memo1->setAccessibleName(QStringLiteral("Order text"));
    StringGrid_adresse->setAccessibleName(QStringLiteral("Address"));
    StringGrid_lizenzen->setAccessibleName(QStringLiteral("My licenses"));
    SpinButton_lizenzen->setAccessibleName(QStringLiteral("Rows of my licenses"));
    GroupBox2->setAccessibleName(QStringLiteral("Separator"));
    const QList<QPair<QLineEdit*, const char*>> cardFields = {
        {Edit_visa1, "Card number, group 1"}, {Edit_visa2, "Card number, group 2"},
        {Edit_visa3, "Card number, group 3"}, {Edit_visa4, "Card number, group 4"},
        {Edit_expdate, "Card expiry date"},   {Edit_cardholder, "Card holder"},
    };
    for (const auto& [field, name] : cardFields)
        field->setAccessibleName(QString::fromLatin1(name));
    for (QLabel* label :
         {Label_paketlizno, Label_zahlungstext, Label_zahlungstext2, Label_zahlungstext3})
        label->setAccessibleDescription(QStringLiteral("Shows a value that follows the choices"));
}

bool TForm_order::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == GroupBox1 || watched == GroupBox1->parentWidget()) &&
        event->type() == QEvent::LayoutRequest)
        fitLabels();
    // Input into the window may have changed the order (a cell being typed into, "Email"
    // setting the mailed flag); the recovery copy finds out whether it did.
    if (safeguard_) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this)
                safeguard_->changed();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_order::fitLabels()
{
    // Labels size themselves to their text, as captions change at run time: a right-aligned
    // label keeps its right edge, any other its left edge.
    for (QLabel* label : findChildren<QLabel*>()) {
        const QSize hint = label->sizeHint();
        QRect r = label->geometry();
        const int width = qMax(hint.width(), 1);
        const int height = qMax(hint.height(), 13);
        if (r.width() == width && r.height() == height)
            continue;
        if (label->alignment() & Qt::AlignRight)
            r.setLeft(r.right() + 1 - width);
        else
            r.setWidth(width);
        r.setHeight(height);
        label->setGeometry(r);
    }
}

void TForm_order::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Escape typed into the order text must not close the window with the order in it.
        if (focusWidget() == Memo1) {
            event->accept();
            return;
        }
        Button_cancel->click();
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A focused button takes Enter itself, as it takes Space: Enter on "+" adds the item
        // instead of starting the closing flow through the default button.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isEnabled()) {
            button->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TForm_order::connectHandlers()
{
    auto onActivated = [this](QComboBox* list, void (TForm_order::*handler)()) {
        connect(list, &QComboBox::activated, this, [this, handler] { (this->*handler)(); });
    };
    onActivated(ComboBox_paket, &TForm_order::ComboBox_paketChange);
    onActivated(ComboBox_programm, &TForm_order::ComboBox_programmChange);
    onActivated(ComboBox_updateneu, &TForm_order::ComboBox_updateneuChange);
    onActivated(ComboBox_lizenztyp, &TForm_order::ComboBox_lizenztypChange);
    onActivated(ComboBox_location, &TForm_order::ComboBox_locationChange);
    onActivated(ComboBox_versand, &TForm_order::ComboBox_versandChange);
    onActivated(ComboBox_zahlung, &TForm_order::ComboBox_zahlungChange);
    connect(SpinEdit_anzahl, &NumberField::numberChanged, this,
            [this] { SpinEdit_anzahlChange(); });
    // A pasted or dropped line break must not split a one-line entry over lines of the order.
    for (QLineEdit* field : {Edit_vatno, Edit_lizno, Edit_visa1, Edit_visa2, Edit_visa3, Edit_visa4,
                             Edit_expdate, Edit_cardholder})
        KeepOnOneLine(field);

    auto onClick = [this](QAbstractButton* button, void (TForm_order::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(Button_add, &TForm_order::Button_addClick);
    onClick(Button_clear, &TForm_order::Button_clearClick);
    onClick(Button_zahlung, &TForm_order::Button_zahlungClick);
    onClick(CheckBox_lizenzen, &TForm_order::CheckBox_lizenzenClick);
    onClick(Button_orderupdates, &TForm_order::Button_orderupdatesClick);
    onClick(Button_upgrade, &TForm_order::Button_upgradeClick);
    onClick(Button_email, &TForm_order::Button_emailClick);
    onClick(Button_clipboard, &TForm_order::Button_clipboardClick);
    onClick(Button_notepad, &TForm_order::Button_notepadClick);
    onClick(Button_ok, &TForm_order::Button_okClick);
    onClick(Button_cancel, &TForm_order::Button_cancelClick);
    onClick(Button_help, &TForm_order::Button_helpClick);
    onClick(Button_save, &TForm_order::Button_saveClick);
    onClick(Button_load, &TForm_order::Button_loadClick);
    connect(SpinButton_lizenzen, &SpinButton::downClicked, this,
            [this] { SpinButton_lizenzenDownClick(); });
    connect(SpinButton_lizenzen, &SpinButton::upClicked, this,
            [this] { SpinButton_lizenzenUpClick(); });
}

void TForm_order::showError(const QString& message)
{
    desktop_.showError(this, QString::fromStdString(velmaro::ErrorBoxText(message.toStdString())));
}

void TForm_order::showMessageAndFocus(const QString& message, QWidget* field)
{
    desktop_.showMessage(this, message);
    field->setFocus();
}
