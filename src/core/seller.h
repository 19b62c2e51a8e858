#pragma once

#include <string_view>

// The seller's fixed details, compiled in: they appear in the payment instructions, the
// closing block of the order text and the mail request.
namespace velmaro::seller {

// Written into texts exactly as it stands here ("Purchase Order to VELMARO Software").
inline constexpr std::string_view kName = "VELMARO Software";

// Stored without blanks; the payment label groups it in fours for reading.
inline constexpr std::string_view kIban = "DE52123456784711081500";
inline constexpr std::string_view kBic = "NHBKDEHH";
inline constexpr std::string_view kBankName = "Nordhafen Handelsbank";

// The payment link ends in the account name without a slash, so an amount can be appended
// after "/".
inline constexpr std::string_view kPayPalLink = "https://www.paypal.me/velmarosoftware";

// A reserved example domain: orders mailed during development reach no real mailbox.
inline constexpr std::string_view kEmail = "orders@velmaro-software.example";

} // namespace velmaro::seller
