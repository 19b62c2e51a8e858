#include "core/order_text.h"

#include "core/mail_request.h"
#include "core/seller.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace velmaro {
namespace {

// Plain decimal digits padded with zeros: the date must not follow the locale's settings.
std::string ZeroPadded(int value, std::size_t width)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

// Joins the pieces of a line with nothing in between, sized once.
std::string Joined(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string line;
    line.reserve(size);
    for (std::string_view piece : pieces)
        line += piece;
    return line;
}

} // namespace

std::string IsoDate(Date day)
{
    return ZeroPadded(day.year, 4) + "-" + ZeroPadded(day.month, 2) + "-" + ZeroPadded(day.day, 2);
}

std::vector<std::string> OrderHeaderLines(Date today)
{
    return {
        Joined({"Purchase Order to ", seller::kName}),
        "",
        "P.O.:",
        "Date: " + IsoDate(today),
        "",
        "We hereby order:",
        "",
    };
}

bool OrderHeaderDue(int lineCount)
{
    return lineCount <= 1;
}

AddCheck AddCheckFor(bool licenceNoShown, std::string_view licenceNo, int languageIndex,
                     int itemRow)
{
    if (licenceNoShown && ParseLicenceNo(licenceNo) == 0)
        return AddCheck::LicenceNoInvalid;
    if (languageIndex < 0)
        return AddCheck::LanguageMissing;
    if (itemRow < 0)
        return AddCheck::ItemMissing;
    return AddCheck::Ok;
}

bool IsUpdateKind(int kindIndex)
{
    return kindIndex == 1 || kindIndex == 2;
}

std::string NewLicenceLine(std::string_view number, std::string_view program,
                           std::string_view licenceType, std::string_view language, Money itemPrice,
                           const MoneyFormat& format)
{
    const std::string price = MoneyTextEur(itemPrice, format);
    return Joined({number, " ", program, " ", licenceType, "  ", language, " : ", price});
}

std::string UpdateLine(std::string_view number, std::string_view program, std::string_view kind,
                       std::string_view language, std::string_view licenceNo, Money itemPrice,
                       const MoneyFormat& format)
{
    const std::string price = MoneyTextEur(itemPrice, format);
    return Joined({number, " ", program, " ", kind, " ", language, " #", licenceNo, " : ", price});
}

std::string ItemLine(const ItemLineFields& item, Money itemPrice, const MoneyFormat& format)
{
    if (IsUpdateKind(item.kindIndex))
        return UpdateLine(item.number, item.program, item.kind, item.language, item.licenceNo,
                          itemPrice, format);
    return NewLicenceLine(item.number, item.program, item.licenceType, item.language, itemPrice,
                          format);
}

Money Postage(int delivery, int location, Money previous)
{
    if (delivery == 0)
        return Money();
    switch (location) {
    case 0:
        return Money::fromEuros(10);
    case 1:
        return Money::fromEuros(25);
    case 2:
        return Money::fromEuros(60);
    default:
        return previous;
    }
}

std::string GroupedIban(std::string_view iban)
{
    std::string grouped;
    grouped.reserve(iban.size() + iban.size() / 4);
    for (std::size_t i = 0; i < iban.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            grouped += ' ';
        grouped += iban[i];
    }
    return grouped;
}

PaymentInstructions PaymentInstructionsFor(int paymentKind)
{
    switch (paymentKind) {
    case 0:
        return {"bank transfer", "IBAN: " + GroupedIban(seller::kIban),
                Joined({"BIC: ", seller::kBic, " (", seller::kBankName, ")"})};
    case 1:
        return {"PayPal", std::string(seller::kPayPalLink), ""};
    default:
        return {};
    }
}

ClosingCheck ClosingCheckFor(Money netSum, bool vatNoShown, std::string_view vatNo)
{
    if (netSum.isZero())
        return ClosingCheck::NothingToClose;
    if (vatNoShown && vatNo.empty())
        return ClosingCheck::VatNoMissing;
    return ClosingCheck::Ok;
}

ClosingBlock ClosingLines(const ClosingInput& input, const MoneyFormat& format)
{
    const bool germany = input.location == 0;
    const Money taxable = input.netSum + input.postage;
    // Exact in Money: the amounts are rounded only where they are written.
    const Money total = germany ? taxable.withVat() : taxable;

    std::vector<std::string> lines;
    lines.reserve(20);
    lines.emplace_back();
    lines.push_back(Joined({input.sumNetCaption, ": ", MoneyTextEur(input.netSum, format)}));
    lines.push_back(Joined({input.postageCaption, ": ", MoneyTextEur(input.postage, format)}));
    if (germany)
        lines.push_back("19% VAT :" + MoneyText(taxable.vat(), format));
    lines.push_back("Sum total: " + MoneyTextEur(total, format));
    if (input.vatNoShown) {
        lines.emplace_back();
        lines.push_back(Joined({input.vatNoCaption, ": ", input.vatNo}));
    }

    const PaymentInstructions& labels = input.paymentLabels;
    if (input.payment == 0) {
        lines.emplace_back();
        lines.push_back(Joined({input.paymentCaption, ": ", labels.line1}));
        lines.push_back(labels.line2);
        lines.push_back(labels.line3);
        lines.emplace_back("Software released by key code after receipt of payment");
    } else if (input.payment == 1) {
        lines.emplace_back();
        lines.push_back(Joined({input.paymentCaption, ": ", labels.line1}));
        lines.push_back(PayPalPaymentLink(total));
        lines.push_back(labels.line3);
    }

    lines.emplace_back();
    lines.insert(lines.end(), input.address.begin(), input.address.end());
    return {std::move(lines), total};
}

std::vector<std::string> UpdateOrderLines(const std::vector<LicenceEntry>& entries, Money price,
                                          const MoneyFormat& format)
{
    const std::string priceText = MoneyTextEur(price, format);
    std::vector<std::string> lines;
    for (const LicenceEntry& entry : entries) {
        if (!entry.program.empty())
            lines.push_back(
                Joined({"1 Update ", entry.program, " #", entry.licenceNo, " : ", priceText}));
    }
    return lines;
}

std::vector<std::string> UpgradeInquiryLines(const std::vector<LicenceEntry>& entries)
{
    std::vector<std::string> lines = {"Inquiry", "", "We own these licenses:", ""};
    for (const LicenceEntry& entry : entries) {
        if (!entry.program.empty())
            lines.push_back(Joined({entry.program, " #", entry.licenceNo}));
    }
    lines.emplace_back();
    lines.emplace_back("We are interested in these Upgrades:");
    lines.emplace_back(
        "(i.e.  individual license -> floating license, upgrade into plus version ...)");
    return lines;
}

} // namespace velmaro
