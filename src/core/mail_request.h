#pragma once

#include "core/money.h"

#include <span>
#include <string>
#include <string_view>

namespace velmaro {

// "MAILTO:" + the seller's address + "?subject=Purchase%20Order&body=".
std::string MailRequestPrefix();

// The text percent-encoded for a mailto URI: every byte other than A-Z a-z 0-9 "-" "." "_"
// "~" becomes %XX with upper-case hex, so UTF-8 letters become one %XX per byte.
std::string PercentEncoded(std::string_view text);

// The prefix followed by each line, percent-encoded, and "%0A" after every line (the last one
// too). A mail program would otherwise cut the body at the first "#" or "&" a line holds.
std::string BuildMailRequest(std::string_view prefix, std::span<const std::string> lines);

// The same from the whole order text, its lines separated by "\n"; the empty remainder after
// a final line break is no line.
std::string BuildMailRequestFromText(std::string_view prefix, std::string_view text);

// The seller's payment link for the total: link + "/" + PlainMoneyText + "EUR". The order text
// and the payment code both take it from here, so the code holds the very link the text shows.
std::string PayPalPaymentLink(Money total);

} // namespace velmaro
