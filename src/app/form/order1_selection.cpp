// The selection row: program or bundle, item kind, licence type, number, language, price.
#include "form/order1.h"

#include "core/catalogue.h"
#include "core/order_text.h"
#include "core/pricing.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The row of a catalogue table that a list index points at, or nullptr for none.
template <typename Row> const Row* rowAt(std::span<const Row> table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

// Refills a list and leaves it without selection: a QComboBox selects its first entry on its
// own as soon as one is added.
void refill(QComboBox* list, const QStringList& entries)
{
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

} // namespace

bool TForm_order::IsBundle() const
{
    return ComboBox_paket->currentIndex() == 1;
}

void TForm_order::FillProgramList()
{
    QStringList names;
    if (IsBundle()) {
        for (const velmaro::Bundle& bundle : velmaro::Bundles())
            names << fromView(bundle.name);
        Label_programm->setText(QStringLiteral("Bundle"));
    } else {
        for (const velmaro::Program& program : velmaro::Programs())
            names << fromView(program.name);
        Label_programm->setText(QStringLiteral("Software"));
    }
    refill(ComboBox_programm, names);
}

void TForm_order::ShowPackageLicenceNo()
{
    const velmaro::Bundle* bundle =
        IsBundle() ? rowAt(velmaro::Bundles(), ComboBox_programm->currentIndex()) : nullptr;
    Label_paketlizno->setText(bundle ? fromView(bundle->packageLicenceNo) : QString());
}

void TForm_order::UpdateLicenceControls()
{
    // Hiding keeps the controls' contents, so going back to "New" shows the earlier choice.
    const bool update = velmaro::IsUpdateKind(ComboBox_updateneu->currentIndex());
    Edit_lizno->setVisible(update);
    SpinEdit_anzahl->setVisible(!update);
    ComboBox_lizenztyp->setVisible(!update);
}

void TForm_order::FillLanguageList()
{
    const int previous = ComboBox_language->currentIndex();
    std::uint32_t mask = 0;
    const int row = ComboBox_programm->currentIndex();
    if (IsBundle()) {
        if (const velmaro::Bundle* bundle = rowAt(velmaro::Bundles(), row))
            mask = bundle->languageMask;
    } else if (const velmaro::Program* program = rowAt(velmaro::Programs(), row)) {
        mask = program->languageMask;
    }
    QStringList languages;
    for (const std::string& language : velmaro::LanguageEntries(mask))
        languages << fromUtf8(language);
    refill(ComboBox_language, languages);
    // Every item lists Deutsch and English first, so only those two choices carry over.
    if ((previous == 0 || previous == 1) && previous < ComboBox_language->count())
        ComboBox_language->setCurrentIndex(previous);
}

void TForm_order::UpdateItemPrice()
{
    const int row = ComboBox_programm->currentIndex();
    if (row < 0) {
        // The item price stays: it is what "+" would still charge.
        Edit_einzelpreis->clear();
        return;
    }
    velmaro::ItemSelection selection;
    selection.isBundle = IsBundle();
    selection.row = row;
    selection.kind = ComboBox_updateneu->currentIndex();
    selection.licenceType = ComboBox_lizenztyp->currentIndex();
    selection.number = velmaro::LicenceCount(toUtf8(SpinEdit_anzahl->text()));
    if (const std::optional<velmaro::Money> price = velmaro::ItemPrice(selection))
        itemPrice_ = *price;
    Edit_einzelpreis->setText(fromUtf8(velmaro::MoneyText(itemPrice_, moneyFormat_)));
}

void TForm_order::ComboBox_paketChange()
{
    FillProgramList();
    UpdateItemPrice();
}

void TForm_order::ComboBox_programmChange()
{
    ShowPackageLicenceNo();
    FillLanguageList();
    UpdateItemPrice();
}

void TForm_order::ComboBox_updateneuChange()
{
    UpdateLicenceControls();
    UpdateItemPrice();
}

void TForm_order::ComboBox_lizenztypChange()
{
    UpdateItemPrice();
}

void TForm_order::SpinEdit_anzahlChange()
{
    UpdateItemPrice();
}
