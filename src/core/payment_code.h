#pragma once

#include "core/money.h"
#include "core/order_text.h"

#include <cstddef>
#include <string>
#include <string_view>

// What the payment code of an order holds: for a bank transfer the credit-transfer QR payload
// that European banking apps read, for PayPal the payment link of the order text. The picture
// is drawn elsewhere; this is the text inside it and the caption that goes with it.
namespace velmaro {

// The limits a banking app holds a transfer code to: the amount to the cent, the whole payload
// in bytes, the remittance text in characters.
inline constexpr Money kTransferCodeMinAmount = Money::fromCents(1);
inline constexpr Money kTransferCodeMaxAmount = Money::fromCents(99'999'999'999);
inline constexpr std::size_t kTransferCodeMaxBytes = 331;
inline constexpr std::size_t kRemittanceMaxCharacters = 140;

// "Order 2026-12-10 Quillfield Instruments": the day of the closing, then the company, or the
// name where the company is blank (neither: the date alone). Line breaks and other control
// characters become blanks; cut to kRemittanceMaxCharacters whole UTF-8 characters, an accent
// or an emoji sequence never split from what it belongs to.
std::string RemittanceText(Date day, std::string_view company, std::string_view name);

// Whether a transfer code can carry the total, rounded to the cent.
bool TransferAmountFits(Money total);

// The transfer payload: the seller's BIC, name and IBAN, "EUR" and the total, no purpose, no
// structured reference, and the remittance text, one field a line (LF), no line after it. The
// remittance text is cut further, between characters, where the payload would exceed
// kTransferCodeMaxBytes. Meant for totals that TransferAmountFits.
std::string TransferPayload(Money total, std::string_view remittance);

// What the last "---->" closed: its payment kind (0 bank transfer, 1 PayPal), total and day, and
// rows 0 (company) and 1 (name) of the address table as it wrote them.
struct PaymentCodeInput {
    int payment = -1;
    Money total;
    Date day{};
    std::string company;
    std::string name;
};

inline constexpr std::string_view kNoPaymentCodeYet =
    "There is no payment code yet: \"---->\" makes it with the order's total.";

struct PaymentCode {
    enum class Status { NotYet, Ready, AmountOutOfRange, NoPaymentKind };
    Status status = Status::NotYet;
    std::string payload; // empty unless ready
    // The caption under the code when ready ("Scan with your banking app to pay 1,675.63 EUR to
    // VELMARO Software"), else why there is no code.
    std::string text = std::string(kNoPaymentCodeYet);

    bool ready() const { return status == Status::Ready; }
};

PaymentCode PaymentCodeFor(const PaymentCodeInput& input, const MoneyFormat& format);

} // namespace velmaro
