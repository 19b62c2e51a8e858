// The recovery copy: what goes into it, the offer at start, and the ends the customer chose.
#include "form/order1.h"

#include "core/errors.h"
#include "core/recovery_copy.h"
#include "platform/desktop.h"
#include "platform/order_safeguard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QTextCursor>

velmaro::RecoveryCopy TForm_order::recoveryCopy()
{
    velmaro::RecoveryCopy copy;
    copy.order = savedOrder();
    copy.paket = ComboBox_paket->currentIndex();
    copy.programm = ComboBox_programm->currentIndex();
    copy.updateneu = ComboBox_updateneu->currentIndex();
    copy.lizenztyp = ComboBox_lizenztyp->currentIndex();
    copy.language = ComboBox_language->currentIndex();
    copy.anzahl = toUtf8(SpinEdit_anzahl->text());
    copy.lizno = toUtf8(Edit_lizno->text());
    copy.myLicences = CheckBox_lizenzen->isChecked();
    copy.mailed = mailed_;
    copy.orderTextEndsWithBreak = orderText_->endsWithLineBreak();
    return copy;
}

void TForm_order::applyRecoveryCopy(velmaro::RecoveryCopy& copy)
{
    applySavedOrder(copy.order);
    if (!copy.orderTextEndsWithBreak && !Memo1->document()->isEmpty()) {
        QTextCursor end(Memo1->document());
        end.movePosition(QTextCursor::End);
        end.deletePreviousChar();
    }

    // Each list is filled from the choice before it, as the change handlers do, and the
    // dependent controls follow without a handler running.
    selectIndex(ComboBox_paket, copy.paket);
    FillProgramList();
    selectIndex(ComboBox_programm, copy.programm);
    ShowPackageLicenceNo();
    FillLanguageList();
    selectIndex(ComboBox_language, copy.language);
    selectIndex(ComboBox_updateneu, copy.updateneu);
    selectIndex(ComboBox_lizenztyp, copy.lizenztyp);
    UpdateLicenceControls();
    // The number as typed, even one out of range that leaving the field would correct.
    if (auto* numberText = SpinEdit_anzahl->findChild<QLineEdit*>())
        numberText->setText(fromUtf8(copy.anzahl));
    Edit_lizno->setText(fromUtf8(copy.lizno));
    CheckBox_lizenzen->setChecked(copy.myLicences);
    mailed_ = copy.mailed;

    UpdatePaymentControls();
    UpdateVatControls();
    UpdatePostage();
    UpdateItemPrice();
    UpdateLicenceTableVisibility();
}

bool TForm_order::offerRecoveryCopy()
{
    if (!safeguard_)
        return false;
    const std::optional<QDateTime> changedAt = safeguard_->leftOverChangedAt();
    if (!changedAt)
        return false;

    // The window behind the question, or behind the word about a damaged copy, shows the
    // defaults whole: the licence table or the guide (not both at once), a price, and the
    // payment fields of the payment shown.
    refreshAfterSelections();
    velmaro::RecoveryCopy copy;
    try {
        copy = safeguard_->readLeftOver();
    } catch (const std::exception&) {
        // Said once: the copy goes aside, where the customer may still look into it, and no
        // later start asks about it again.
        const QString aside = safeguard_->setAsideLeftOver();
        desktop_.showError(
            this, QStringLiteral("The order kept from the last run could not be read. It was kept "
                                 "as %1.")
                      .arg(QDir::toNativeSeparators(aside.isEmpty() ? safeguard_->recoveryPath()
                                                                    : aside)));
        return false;
    }

    const QString question =
        QStringLiteral("The order you were working on at %1 on %2 was not saved when the program "
                       "ended. Restore it?")
            .arg(changedAt->toString(QStringLiteral("HH:mm")),
                 changedAt->toString(QStringLiteral("yyyy-MM-dd")));
    switch (desktop_.ask(this, question)) {
    case Desktop::Answer::Yes:
        applyRecoveryCopy(copy);
        return true;
    case Desktop::Answer::No:
        safeguard_->removeLeftOver();
        return false;
    case Desktop::Answer::Cancel:
        // Not now: the copy waits for the next start.
        safeguard_->keepLeftOver();
        return false;
    }
    return false;
}

void TForm_order::watchForChanges()
{
    if (!safeguard_)
        return;
    safeguard_->watch([this] { return recoveryCopy(); });
    auto changed = [this] { safeguard_->changed(); };
    connect(Memo1->document(), &QTextDocument::contentsChanged, this, changed);
    for (QLineEdit* field : findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this, changed);
    for (QComboBox* list : findChildren<QComboBox*>())
        connect(list, &QComboBox::currentIndexChanged, this, changed);
    connect(CheckBox_lizenzen, &QCheckBox::toggled, this, changed);
    // A button pressed through the accessibility bus comes with no key or mouse event, and
    // "Email" changes only the mailed flag, which no control shows.
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::clicked, this, changed);
    for (StringGrid* grid : {StringGrid_lizenzen, StringGrid_adresse}) {
        connect(grid->model(), &QAbstractItemModel::dataChanged, this, changed);
        connect(grid->model(), &QAbstractItemModel::modelReset, this, changed);
        connect(grid->model(), &QAbstractItemModel::rowsInserted, this, changed);
        connect(grid->model(), &QAbstractItemModel::rowsRemoved, this, changed);
    }
    // A cell editor opens and closes as the customer types; its text counts before it is
    // committed. Watching the keys is cheaper than following every editor: the copy itself
    // tells whether anything changed.
    qApp->installEventFilter(this);
}

void TForm_order::endByCustomer()
{
    // Every road out that the customer takes ends here, and no other. Whatever the customer
    // copied from the order must outlive the window, and the recovery copy goes.
    desktop_.keepClipboardAfterExit();
    endedByCustomer_ = true;
    if (safeguard_)
        safeguard_->endByCustomer();
}

void TForm_order::closeEvent(QCloseEvent* event)
{
    // The close box is the customer's choice; a close that comes with the end of the session
    // is not, and keeps the copy.
    if (event->spontaneous() && !(safeguard_ && safeguard_->sessionEnding()))
        endByCustomer();
    QDialog::closeEvent(event);
}
