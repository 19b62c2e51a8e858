#include "core/pricing.h"

#include "core/catalogue.h"

#include <cstddef>
#include <span>

namespace velmaro {
namespace {

// The row of a table, or nullptr when the index is outside it.
template <typename Row> const Row* rowAt(std::span<const Row> table, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= table.size())
        return nullptr;
    return &table[static_cast<std::size_t>(row)];
}

} // namespace

std::optional<Money> ItemPrice(const ItemSelection& selection)
{
    const Bundle* bundle = nullptr;
    const Program* program = nullptr;
    if (selection.isBundle)
        bundle = rowAt(Bundles(), selection.row);
    else
        program = rowAt(Programs(), selection.row);
    if (bundle == nullptr && program == nullptr)
        return std::nullopt;

    switch (selection.kind) {
    case kUpdate:
        return bundle ? Money::fromCents(bundle->updatePriceCents) : FlatUpdatePrice(kUpdate);
    case kUpdateWin64:
        return bundle ? Money::fromCents(bundle->updateWin64PriceCents)
                      : FlatUpdatePrice(kUpdateWin64);
    case kNewLicence: {
        const Money unit =
            Money::fromCents(bundle ? bundle->newPriceCents : program->netPriceCents);
        // Without a licence type there is no table to take a discount from.
        const bool hasType =
            selection.licenceType == kIndividual || selection.licenceType == kNetworkFloating;
        const int halfPercent =
            hasType ? DiscountHalfPercent(selection.licenceType, selection.number) : 0;
        // Discounts are whole half percents and prices whole cents, so this is exact.
        return (unit * selection.number).lessHalfPercent(halfPercent);
    }
    default:
        return std::nullopt;
    }
}

int LicenceCount(std::string_view text)
{
    return TryParseLicenceNo(text).value_or(1);
}

} // namespace velmaro
