#pragma once

#include "core/errors.h"
#include "core/order_file.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace velmaro {

// Every line of the bytes comes back as it was where it is valid UTF-8, and with a character for
// every byte where it is not; the line ends stay, and a leading byte-order mark goes.
inline bool DecodedLineByLine(std::string_view bytes, std::string_view text)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    std::size_t pos = 0;
    std::size_t out = 0;
    for (;;) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        const std::size_t outEnd = std::min(text.find_first_of("\r\n", out), text.size());
        const std::string_view line = bytes.substr(pos, end - pos);
        const std::string_view decoded = text.substr(out, outEnd - out);
        if (IsValidUtf8(line)) {
            if (decoded != line)
                return false;
        } else {
            std::size_t characters = 0;
            for (const char c : decoded)
                characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            if (characters != line.size())
                return false;
        }
        if (end == bytes.size())
            return outEnd == text.size();
        if (outEnd == text.size() || text[outEnd] != bytes[end])
            return false;
        pos = end + 1;
        out = outEnd + 1;
    }
}

// What must hold for any bytes read as an order file, decoded as on a system whose code page
// is UTF-8: the decoded text is valid UTF-8 and decoded line by line as above; the parser either
// gives a complete order or refuses the file as invalid numeric input, and what it gives is
// written and read back without change. Returns false where that fails.
inline bool OrderFileHoldsUp(std::string_view bytes)
{
    const std::string text = Utf8OrWindows1252(std::string(bytes));
    if (!IsValidUtf8(text) || !DecodedLineByLine(bytes, text))
        return false;

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
