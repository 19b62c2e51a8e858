#pragma once

#include "core/money.h"

#include <optional>
#include <string_view>

namespace velmaro {

// What the selection row holds when the price is computed; indexes are list indexes, -1 for none.
struct ItemSelection {
    bool isBundle = false; // "Bundle" chosen in the program/bundle list
    int row = -1;          // selected program or bundle row
    int kind = -1;         // 0 New, 1 Update (Win32/64), 2 Update Win64
    int licenceType = -1;  // 0 Individual, 1 Network Floating
    int number = 1;        // number of licences
};

// The item price of the selection; std::nullopt when it has none (no row selected, or no item
// kind), in which case the window keeps its previous item price.
std::optional<Money> ItemPrice(const ItemSelection& selection);

// The number of licences the number field's text stands for: ParseLicenceNo syntax, 1 when the
// text is not an integer (e.g. empty while the user retypes it).
int LicenceCount(std::string_view text);

} // namespace velmaro
