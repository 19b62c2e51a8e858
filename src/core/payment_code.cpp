#include "core/payment_code.h"

#include "core/mail_request.h"
#include "core/seller.h"

namespace velmaro {
namespace {

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length in bytes of the UTF-8 character starting at `at` (a stray continuation byte counts
// as a character of its own, so no input stops the walk).
std::size_t CharacterLength(std::string_view text, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < text.size() && IsContinuationByte(text[end]))
        ++end;
    return end - at;
}

// The start of the character that ends just before `at`.
std::size_t PreviousCharacterStart(std::string_view text, std::size_t at)
{
    do
        --at;
    while (at > 0 && IsContinuationByte(text[at]));
    return at;
}

// The code point of one UTF-8 character (a stray byte stands for itself).
char32_t CodePoint(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return lead;
    char32_t point = lead & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i)
        point = (point << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    return point;
}

constexpr char32_t kZeroWidthJoiner = 0x200D;

// Whether the character belongs to the one before it on the screen: combining marks, variation
// selectors, skin tones, emoji tags and the joiner inside an emoji sequence.
bool JoinsPrevious(char32_t c)
{
    const auto in = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
    return in(0x0300, 0x036F) || in(0x1AB0, 0x1AFF) || in(0x1DC0, 0x1DFF) || in(0x20D0, 0x20FF) ||
           in(0xFE00, 0xFE0F) || in(0xFE20, 0xFE2F) || c == kZeroWidthJoiner ||
           in(0x1F3FB, 0x1F3FF) || in(0xE0020, 0xE007F) || in(0xE0100, 0xE01EF);
}

bool IsRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// Whether a cut before `at` (inside the text) would part characters shown as one: a mark from
// its letter, the parts of an emoji sequence, the two letters of a flag.
bool SplitsGroup(std::string_view text, std::size_t at)
{
    const char32_t next = CodePoint(text.substr(at, CharacterLength(text, at)));
    const std::size_t previous = PreviousCharacterStart(text, at);
    if (JoinsPrevious(next) || CodePoint(text.substr(previous, at - previous)) == kZeroWidthJoiner)
        return true;
    if (!IsRegionalIndicator(next))
        return false;
    // Flags pair the regional indicators from the first of a run on.
    std::size_t before = 0;
    for (std::size_t end = at; end > 0; ++before) {
        const std::size_t start = PreviousCharacterStart(text, end);
        if (!IsRegionalIndicator(CodePoint(text.substr(start, end - start))))
            break;
        end = start;
    }
    return before % 2 == 1;
}

// C0 controls, DEL, C1 controls and the Unicode line and paragraph separators: all of them
// would break the line structure of the payload or show as boxes in a banking app. The
// direction controls (embeddings, overrides, isolates) would turn the rest of the text around
// there, so that it reads as something else than what was typed.
bool IsControlCharacter(std::string_view character)
{
    const char32_t c = CodePoint(character);
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Control characters as blanks, a CR LF pair as one; no blanks at either end.
std::string OnOneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at);
        const std::string_view character = text.substr(at, length);
        const bool crLf = character == "\r" && text.substr(at + 1, 1) == "\n";
        at += length + (crLf ? 1 : 0);
        line += IsControlCharacter(character) ? std::string_view(" ") : character;
    }
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(' ') + 1 - first);
}

// The longest front of the text that holds at most `characters` whole characters and `bytes`
// bytes, with no blank left at its end.
std::string_view Cut(std::string_view text, std::size_t characters, std::size_t bytes)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < characters; ++count) {
        const std::size_t next = end + CharacterLength(text, end);
        if (next > bytes)
            break;
        end = next;
    }
    // A cut between a letter and its accent would change the letter ("Mu" of a decomposed
    // "M\u00FC"), one inside an emoji sequence or a flag would leave half of it: such a group
    // stays out.
    while (end > 0 && end < text.size() && SplitsGroup(text, end))
        end = PreviousCharacterStart(text, end);
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.substr(0, end);
}

} // namespace

std::string RemittanceText(Date day, std::string_view company, std::string_view name)
{
    std::string party = OnOneLine(company);
    if (party.empty())
        party = OnOneLine(name);
    std::string text = "Order " + IsoDate(day);
    if (!party.empty())
        text += " " + party;
    return std::string(Cut(text, kRemittanceMaxCharacters, text.size()));
}

bool TransferAmountFits(Money total)
{
    const std::int64_t cents = total.roundedCents();
    return cents >= kTransferCodeMinAmount.roundedCents() &&
           cents <= kTransferCodeMaxAmount.roundedCents();
}

std::string TransferPayload(Money total, std::string_view remittance)
{
    std::string payload = "BCD\n" // service tag
                          "002\n" // version: the BIC may be left out, but here it is given
                          "1\n"   // character set: UTF-8
                          "SCT\n";
    payload += seller::kBic;
    payload += '\n';
    payload += seller::kName;
    payload += '\n';
    payload += seller::kIban;
    payload += "\nEUR";
    payload += PlainMoneyText(total);
    // Neither a purpose code nor a structured creditor reference: the remittance text, which a
    // reference would exclude, is what lets the seller match the payment to the order.
    payload += "\n\n\n";
    const std::size_t room =
        payload.size() < kTransferCodeMaxBytes ? kTransferCodeMaxBytes - payload.size() : 0;
    payload += Cut(remittance, kRemittanceMaxCharacters, room);
    return payload;
}

PaymentCode PaymentCodeFor(const PaymentCodeInput& input, const MoneyFormat& format)
{
    PaymentCode code;
    const std::string amount = MoneyTextEur(input.total, format);
    switch (input.payment) {
    case 0:
        if (!TransferAmountFits(input.total)) {
            code.status = PaymentCode::Status::AmountOutOfRange;
            code.text = "There is no payment code for this order: a bank transfer code carries " +
                        MoneyText(kTransferCodeMinAmount, format) + " to " +
                        MoneyTextEur(kTransferCodeMaxAmount, format) + ", and the total is " +
                        amount + ".";
            return code;
        }
        code.payload =
            TransferPayload(input.total, RemittanceText(input.day, input.company, input.name));
        code.text =
            "Scan with your banking app to pay " + amount + " to " + std::string(seller::kName);
        break;
    case 1:
        code.payload = PayPalPaymentLink(input.total);
        code.text = "Scan to pay " + amount + " with PayPal";
        break;
    default:
        code.status = PaymentCode::Status::NoPaymentKind;
        code.text = "There is no payment code for this order: it names no payment kind.";
        return code;
    }
    code.status = PaymentCode::Status::Ready;
    return code;
}

} // namespace velmaro
