// The saved order file order.qzo.
#include "form/order1.h"

#include "core/errors.h"
#include "core/order_file.h"
#include "platform/desktop.h"
#include "platform/text_file.h"

#include <QLineEdit>

#include <array>
#include <cstddef>

namespace {

const QString kOrderFile = QStringLiteral("order.qzo");

// The run-time's error for a failed file operation, as its error box names it.
velmaro::InOutError inOutError(const FileFailure& failure)
{
    switch (failure.kind) {
    case FileFailure::Kind::NotFound:
        return velmaro::InOutError(2);
    case FileFailure::Kind::BadName:
        return velmaro::InOutError(3);
    case FileFailure::Kind::TooManyFiles:
        return velmaro::InOutError(4);
    case FileFailure::Kind::AccessDenied:
        return velmaro::InOutError(5);
    case FileFailure::Kind::DiskFull:
        return velmaro::InOutError(101);
    case FileFailure::Kind::TooLarge:
        // Larger than any file the counts' limits explain: as damaged as a count no window has.
        return velmaro::InOutError(106);
    case FileFailure::Kind::SystemError:
        break;
    }
    if (failure.systemError != 0)
        return velmaro::InOutError::System(failure.systemError);
    return velmaro::InOutError(failure.whileWriting ? 101 : 5);
}

// setText cuts a text to the field's input limit; a stored text comes back whole, so the limit
// grows to fit it and otherwise keeps the design's value for typing.
void restoreText(QLineEdit* field, const QString& text)
{
    static const char* const kDesignLimit = "velmaroDesignMaxLength";
    QVariant designLimit = field->property(kDesignLimit);
    if (!designLimit.isValid()) {
        designLimit = field->maxLength();
        field->setProperty(kDesignLimit, designLimit);
    }
    field->setMaxLength(qMax(designLimit.toInt(), static_cast<int>(text.size())));
    field->setText(text);
}

} // namespace

void selectIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

velmaro::SavedOrder TForm_order::savedOrder()
{
    velmaro::SavedOrder order;

    order.licenceRowCount = StringGrid_lizenzen->rowCount();
    order.licenceRows.resize(static_cast<std::size_t>(order.licenceRowCount));
    for (int row = 1; row <= order.licenceRowCount; ++row) {
        auto& cells = order.licenceRows[static_cast<std::size_t>(row - 1)];
        for (int col = 1; col <= velmaro::kLicenceColumns; ++col)
            cells[static_cast<std::size_t>(col - 1)] =
                toUtf8(StringGrid_lizenzen->shownCell(col, row));
    }

    order.addressRowCount = StringGrid_adresse->rowCount();
    for (int row = 0; row <= order.addressRowCount; ++row)
        order.addressCells.push_back(toUtf8(StringGrid_adresse->shownCell(1, row)));

    order.location = ComboBox_location->currentIndex();
    order.delivery = ComboBox_versand->currentIndex();
    order.payment = ComboBox_zahlung->currentIndex();

    const std::array<const QLineEdit*, velmaro::kOrderFileTexts> fields = {
        Edit_vatno, Edit_visa1, Edit_visa2, Edit_visa3, Edit_visa4, Edit_expdate, Edit_cardholder};
    for (std::size_t i = 0; i < fields.size(); ++i)
        order.texts[i] = toUtf8(fields[i]->text());

    order.orderLines = orderText_->allUtf8();
    order.netSum = netSum_;
    return order;
}

void TForm_order::SaveOrderFile()
{
    StringGrid_lizenzen->commitOpenEdit();
    StringGrid_adresse->commitOpenEdit();
    const velmaro::SavedOrder order = savedOrder();
    // An order the next start could not read back is refused before the file is touched.
    if (const std::optional<FileFailure> failure =
            WriteUtf8TextFile(kOrderFile, velmaro::FormatOrderFile(order)))
        throw inOutError(*failure);
    saved_ = true;
}

bool TForm_order::LoadOrderFile()
{
    // The whole file is parsed before anything is applied: a damaged file leaves the window as
    // it was. The file's text goes as soon as it is parsed, so that it and the order are not
    // held beside everything the controls make of them.
    velmaro::SavedOrder order;
    {
        std::string file;
        if (const std::optional<FileFailure> failure =
                ReadUtf8TextFile(kOrderFile, file, velmaro::kMaxOrderFileBytes))
            throw inOutError(*failure);
        order = velmaro::ParseOrderFile(file);
    }
    const bool netSumRead = order.netSum.has_value();
    applySavedOrder(order);
    // The payment always starts as bank transfer, whatever was saved.
    ComboBox_zahlung->setCurrentIndex(0);
    return netSumRead;
}

void TForm_order::NetSumUnreadMessage()
{
    desktop_.showMessage(this, fromUtf8(std::string(velmaro::kNetSumUnreadMessage)));
}

void TForm_order::applySavedOrder(velmaro::SavedOrder& order)
{
    // Column 0 keeps the address labels the window already has; every licence row, the held
    // one past the shown rows included, gets its number, as when the arrows add rows.
    StringGrid_lizenzen->setRowCount(order.licenceRowCount);
    for (int row = 1; row <= order.licenceRowCount; ++row) {
        auto& cells = order.licenceRows[static_cast<std::size_t>(row - 1)];
        StringGrid_lizenzen->setCell(0, row, QString::number(row));
        for (int col = 1; col <= velmaro::kLicenceColumns; ++col) {
            std::string& cell = cells[static_cast<std::size_t>(col - 1)];
            StringGrid_lizenzen->setCell(col, row, fromUtf8(cell));
            std::string().swap(cell);
        }
    }

    StringGrid_adresse->setRowCount(order.addressRowCount);
    for (int row = 0; row <= order.addressRowCount; ++row)
        StringGrid_adresse->setCell(1, row,
                                    fromUtf8(order.addressCells[static_cast<std::size_t>(row)]));

    selectIndex(ComboBox_location, order.location);
    selectIndex(ComboBox_versand, order.delivery);
    selectIndex(ComboBox_zahlung, order.payment);

    const std::array<QLineEdit*, velmaro::kOrderFileTexts> fields = {
        Edit_vatno, Edit_visa1, Edit_visa2, Edit_visa3, Edit_visa4, Edit_expdate, Edit_cardholder};
    for (std::size_t i = 0; i < fields.size(); ++i)
        restoreText(fields[i], fromUtf8(order.texts[i]));

    orderText_->setLines(order.orderLines);
    std::vector<std::string>().swap(order.orderLines);
    // The code was the replaced order text's closing: printed below the loaded order, or scanned
    // from the open window, it would ask for another order's total.
    setPaymentCode({});

    // The net sum goes on from the saved order, so a total made after reloading counts the
    // items already in the order text.
    netSum_ = order.netSum.value_or(velmaro::Money{});
    Edit_sumnet->setText(fromUtf8(velmaro::MoneyText(netSum_, moneyFormat_)));
}

void TForm_order::Button_saveClick()
{
    guarded([this] { SaveOrderFile(); });
}

void TForm_order::Button_loadClick()
{
    guarded([this] {
        if (!LoadOrderFile())
            NetSumUnreadMessage();
    });
}
