#pragma once

#include "core/errors.h"
#include "core/order_file.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace velmaro {

// What must hold for any bytes read as an order file, decoded as on a system whose code page
// is UTF-8: the decoded text is valid UTF-8 with a character for every byte that was not; the
// parser either gives a complete order or refuses the file as invalid numeric input, and what it
// gives is written and read back without change. Returns false where that fails.
inline bool OrderFileHoldsUp(std::string_view bytes)
{
    const bool wasUtf8 = IsValidUtf8(bytes);
    const std::string text = Utf8OrWindows1252(std::string(bytes));
    if (!IsValidUtf8(text) || (wasUtf8 && text != bytes))
        return false;
    if (!wasUtf8) {
        std::size_t characters = 0;
        for (const char c : text)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters != bytes.size())
            return false;
    }

    SavedOrder order;
    try {
        order = ParseOrderFile(text);
    } catch (const InOutError& error) {
        return error.code() == 106;
    }
    if (order.licenceRowCount < 1 || order.licenceRowCount > kMaxTableRows ||
        order.addressRowCount < 1 || order.addressRowCount > kMaxTableRows ||
        static_cast<int>(order.licenceRows.size()) != order.licenceRowCount ||
        static_cast<int>(order.addressCells.size()) != order.addressRowCount + 1 ||
        order.orderLines.size() > static_cast<std::size_t>(kMaxOrderLines))
        return false;

    if (order.netSum && (*order.netSum < Money() || *order.netSum > kMaxNetSum))
        return false;

    // The first rewrite may differ from the input (line ends, number forms); from then on,
    // the file must stay as it is.
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
