// The customer's licence table, update orders and the upgrade inquiry.
#include "form/order1.h"

#include "controls/spin_button.h"
#include "controls/string_grid.h"
#include "core/order_file.h"
#include "core/order_text.h"

#include <vector>

namespace {

// Columns 1 and 2 of the data rows the table shows, 1 to row count - 1. The row held just past
// them is out of the customer's sight (it may hold what was typed before a row was removed), so
// it is neither ordered nor charged.
std::vector<velmaro::LicenceEntry> licenceEntries(StringGrid* grid)
{
    grid->commitOpenEdit();
    std::vector<velmaro::LicenceEntry> entries;
    const int rows = grid->rowCount();
    entries.reserve(static_cast<std::size_t>(rows));
    for (int row = 1; row < rows; ++row)
        entries.push_back({toUtf8(grid->cell(1, row)), toUtf8(grid->cell(2, row))});
    return entries;
}

} // namespace

void TForm_order::UpdateLicenceTableVisibility()
{
    const bool ticked = CheckBox_lizenzen->isChecked();
    StringGrid_lizenzen->setVisible(ticked);
    // Hidden, the buttons are out of reach of mouse and keys; disabled too, they are out of
    // reach of assistive technology, whose actions would press them unseen.
    for (QWidget* control :
         QList<QWidget*>{SpinButton_lizenzen, Button_orderupdates, Button_upgrade}) {
        control->setVisible(ticked);
        control->setEnabled(ticked);
    }
    Label_help->setVisible(!ticked);
}

void TForm_order::CheckBox_lizenzenClick()
{
    UpdateLicenceTableVisibility();
}

void TForm_order::SpinButton_lizenzenDownClick()
{
    // The saved order takes back no more rows than this.
    if (StringGrid_lizenzen->rowCount() >= velmaro::kMaxTableRows)
        return;
    const int rows = StringGrid_lizenzen->rowCount() + 1;
    StringGrid_lizenzen->setRowCount(rows);
    // Numbers run one ahead: the row now shown was numbered before, the new held row is now.
    StringGrid_lizenzen->setCell(0, rows, QString::number(rows));
}

void TForm_order::SpinButton_lizenzenUpClick()
{
    const int rows = StringGrid_lizenzen->rowCount();
    // The title row always stays; cells of the hidden rows are kept for when the table grows.
    if (rows > 1)
        StringGrid_lizenzen->setRowCount(rows - 1);
}

void TForm_order::Button_orderupdatesClick()
{
    guarded([&] {
        const std::vector<std::string> lines = velmaro::UpdateOrderLines(
            licenceEntries(StringGrid_lizenzen), velmaro::kUpdateOrderPrice, moneyFormat_);
        // Refused before anything is added when the net sum would pass its limit. The item
        // price stays that of the selection row, so a following "+" prices its own item and
        // not an update.
        const velmaro::Money netSum = velmaro::NetSumPlus(
            netSum_, velmaro::kUpdateOrderPrice * static_cast<std::int64_t>(lines.size()),
            moneyFormat_);
        AddOrderHeader();
        orderText_->append(lines);
        netSum_ = netSum;
        Edit_sumnet->setText(fromUtf8(velmaro::MoneyText(netSum_, moneyFormat_)));
    });
}

void TForm_order::Button_upgradeClick()
{
    guarded([&] {
        orderText_->append(velmaro::UpgradeInquiryLines(licenceEntries(StringGrid_lizenzen)));
    });
}
