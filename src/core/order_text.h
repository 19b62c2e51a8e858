#pragma once

#include "core/money.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The lines of the order text, as pure functions of plain values. The window reads its
// controls, calls these and appends the returned lines; it keeps no text rule of its own.
namespace velmaro {

struct Date {
    int year;
    int month;
    int day;
};

// "2026-12-07": zero-padded digits, whatever the user's locale writes.
std::string IsoDate(Date day);

// --- Header and item lines ("+") -------------------------------------------------------------

// The seven header lines: "Purchase Order to VELMARO Software", "", "P.O.:",
// "Date: 2026-12-07", "", "We hereby order:", "". The date is always ISO-like with zero
// padding, whatever the user's locale writes.
std::vector<std::string> OrderHeaderLines(Date today);

// Whether "+" and "Order Updates" write the header: the order text holds at most one line
// (a single line typed by the user stays in front of the header).
bool OrderHeaderDue(int lineCount);

// What "+" checks before it appends anything; the window shows the message and moves the focus
// to the named control. ItemMissing names the program list by its heading ("Software" or
// "Bundle"), which the window shows as the message.
enum class AddCheck { Ok, LicenceNoInvalid, LanguageMissing, ItemMissing };
inline constexpr std::string_view kLicenceNoMessage = "Liz. No.";
inline constexpr std::string_view kLanguageMessage = "Language";

// The licence number counts only while its field is shown (update kinds); it must be a
// non-zero whole number. The licence number is checked first, then the language, then the
// program or bundle row: right after a switch between programs and bundles no row is selected,
// and the line would get an empty name and the price of the previous item.
AddCheck AddCheckFor(bool licenceNoShown, std::string_view licenceNo, int languageIndex,
                     int itemRow);

// Kind indexes 1 "Update (Win32/64)" and 2 "Update Win64" take the update format; every other
// index, also -1 for no selection, takes the new-licence format.
bool IsUpdateKind(int kindIndex);

// number " " program " " licenceType "  " language " : " price " EUR"
std::string NewLicenceLine(std::string_view number, std::string_view program,
                           std::string_view licenceType, std::string_view language, Money itemPrice,
                           const MoneyFormat& format);

// number " " program " " kind " " language " #" licenceNo " : " price " EUR"
std::string UpdateLine(std::string_view number, std::string_view program, std::string_view kind,
                       std::string_view language, std::string_view licenceNo, Money itemPrice,
                       const MoneyFormat& format);

// The texts of the selection row as the controls show them (empty for no selection). Named apart
// from the pricing's ItemSelection: both live in this namespace and are linked together.
struct ItemLineFields {
    std::string number;
    std::string program;
    int kindIndex = -1;
    std::string kind;
    std::string licenceType;
    std::string language;
    std::string licenceNo;
};

// The item line for the selection, in the format its kind index chooses.
std::string ItemLine(const ItemLineFields& item, Money itemPrice, const MoneyFormat& format);

// --- Postage, payment and the closing blocks ("---->") ---------------------------------------

// Postage for delivery index 0 "Email / Download" (always 0.00) or any other delivery by
// location index: 0 Deutschland 10.00, 1 European Union 25.00, 2 World 60.00. A location
// outside the table keeps `previous`.
Money Postage(int delivery, int location, Money previous);

// The three payment instruction labels.
struct PaymentInstructions {
    std::string line1, line2, line3;
    bool operator==(const PaymentInstructions&) const = default;
};

// Kind 0 (bank transfer): "bank transfer", "IBAN: " + IBAN in groups of four, "BIC: " + BIC +
// " (" + bank + ")". Kind 1: "PayPal", the payment link, "". Any other kind (no selection)
// gives three empty labels: there are no instructions to show for it.
PaymentInstructions PaymentInstructionsFor(int paymentKind);

// The IBAN in groups of four characters separated by single blanks.
std::string GroupedIban(std::string_view iban);

struct ClosingInput {
    Money netSum;
    Money postage;
    int location = -1;
    int payment = -1;
    bool vatNoShown = false;
    std::string vatNo;
    // Label captions as the window shows them ("sum net", "Postage cost", "European VAT No.",
    // "Payment").
    std::string sumNetCaption, postageCaption, vatNoCaption, paymentCaption;
    PaymentInstructions paymentLabels;  // the three labels as shown
    std::array<std::string, 6> address; // column 1 of the address table, rows 0..5
};

struct ClosingBlock {
    std::vector<std::string> lines;
    Money total;
};

// What "---->" checks first. NothingToClose appends nothing and shows nothing; VatNoMissing
// shows kVatNoMessage and moves the focus to the VAT number field.
enum class ClosingCheck { Ok, NothingToClose, VatNoMissing };
inline constexpr std::string_view kVatNoMessage = "European VAT number (Umsatzsteuer-Identnummer)";

// Only emptiness of the VAT number is tested; any non-empty text passes.
ClosingCheck ClosingCheckFor(Money netSum, bool vatNoShown, std::string_view vatNo);

// The lines "---->" appends (totals, VAT number, payment block, address block) and the total:
// (net + postage) with 19 % VAT for Deutschland (location 0), net + postage elsewhere. A
// payment kind other than 0 or 1 writes no payment block. The amounts take the format's
// separators, except the amount in the PayPal link, which is always PlainMoneyText.
ClosingBlock ClosingLines(const ClosingInput& input, const MoneyFormat& format);

// --- Licence table: update order and upgrade inquiry -----------------------------------------

// The fixed price of one update ordered from the licence table.
inline constexpr Money kUpdateOrderPrice = Money::fromEuros(40);

// Columns 1 and 2 of a data row of the licence table.
struct LicenceEntry {
    std::string program;
    std::string licenceNo;
};

// One line "1 Update " + program + " #" + licenceNo + " : " + price " EUR" for every entry
// whose program is not empty, in order. The window adds the price once per returned line.
std::vector<std::string> UpdateOrderLines(const std::vector<LicenceEntry>& entries, Money price,
                                          const MoneyFormat& format);

// The upgrade inquiry: a fixed frame around one line program + " #" + licenceNo per entry
// whose program is not empty. No header and no amounts.
std::vector<std::string> UpgradeInquiryLines(const std::vector<LicenceEntry>& entries);

} // namespace velmaro
