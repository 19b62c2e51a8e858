#pragma once

#include "core/errors.h"
#include "core/order_file.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace velmaro {

// What must hold for any bytes read as an order file: the parser either gives a complete order
// or refuses the file as invalid numeric input, and what it gives is written and read back
// without change. Returns false where that fails.
inline bool OrderFileHoldsUp(std::string_view bytes)
{
    SavedOrder order;
    try {
        order = ParseOrderFile(bytes);
    } catch (const InOutError& error) {
        return error.code() == 106;
    }
    if (order.licenceRowCount < 1 || order.licenceRowCount > kMaxTableRows ||
        order.addressRowCount < 1 || order.addressRowCount > kMaxTableRows ||
        static_cast<int>(order.licenceRows.size()) != order.licenceRowCount ||
        static_cast<int>(order.addressCells.size()) != order.addressRowCount + 1 ||
        order.orderLines.size() > static_cast<std::size_t>(kMaxOrderLines))
        return false;

    // Texts read from a file may hold a lone LF, which the writer turns into a blank; from
    // the first rewrite on, the file must stay as it is.
    const std::string once = FormatOrderFile(order);
    SavedOrder reread;
    try {
        reread = ParseOrderFile(once);
    } catch (const InOutError&) {
        return false;
    }
    return FormatOrderFile(reread) == once;
}

} // namespace velmaro
