#include "core/order_text.h"

#include "core/seller.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaro {
namespace {

using Lines = std::vector<std::string>;

Money Euros(std::int64_t euros)
{
    return Money::fromEuros(euros);
}

TEST(OrderHeader, SevenLinesWithZeroPaddedDate)
{
    EXPECT_EQ(OrderHeaderLines({2026, 12, 7}),
              (Lines{"Purchase Order to VELMARO Software", "", "P.O.:", "Date: 2026-12-07", "",
                     "We hereby order:", ""}));

    const struct {
        Date date;
        const char* line;
    } cases[] = {
        {{2027, 1, 5}, "Date: 2027-01-05"},
        {{2030, 10, 31}, "Date: 2030-10-31"},
        {{987, 3, 9}, "Date: 0987-03-09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrderHeaderLines(c.date)[3], c.line);
}

TEST(OrderHeader, DueOnlyWhileTheTextHoldsAtMostOneLine)
{
    EXPECT_TRUE(OrderHeaderDue(0));
    EXPECT_TRUE(OrderHeaderDue(1));
    EXPECT_FALSE(OrderHeaderDue(2));
    EXPECT_FALSE(OrderHeaderDue(8));
}

TEST(AddCheck, LicenceNumberThenLanguageThenItem)
{
    const struct {
        bool shown;
        const char* licenceNo;
        int language;
        int item;
        AddCheck expected;
    } cases[] = {
        {true, "", 0, 0, AddCheck::LicenceNoInvalid},
        {true, "0", 0, 0, AddCheck::LicenceNoInvalid},
        {true, "abc", 0, 0, AddCheck::LicenceNoInvalid},
        {true, "12x", 0, 0, AddCheck::LicenceNoInvalid},
        {true, "4711", 0, 0, AddCheck::Ok},
        {true, "-3", 1, 5, AddCheck::Ok},
        {false, "", 3, 2, AddCheck::Ok}, // hidden for "New": neither tested nor written
        {false, "", -1, 0, AddCheck::LanguageMissing},
        {true, "4711", -1, 0, AddCheck::LanguageMissing},
        {true, "abc", -1, -1, AddCheck::LicenceNoInvalid},
        {false, "", -1, -1, AddCheck::LanguageMissing},
        {false, "", 1, -1, AddCheck::ItemMissing},
        {true, "4711", 0, -1, AddCheck::ItemMissing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddCheckFor(c.shown, c.licenceNo, c.language, c.item), c.expected)
            << c.shown << " '" << c.licenceNo << "' " << c.language << " " << c.item;
}

TEST(ItemLine, NewLicenceAndUpdateFormats)
{
    EXPECT_EQ(NewLicenceLine("2", "Tessel Draft", "Network Floating", "English", Euros(1530), {}),
              "2 Tessel Draft Network Floating  English : 1,530.00 EUR");
    EXPECT_EQ(UpdateLine("Tessel Draft", "Update Win64", "English", "4711", Euros(50), {}),
              "1 Tessel Draft Update Win64 English #4711 : 50.00 EUR");

    // A catalogue name ending in a blank keeps it.
    EXPECT_EQ(NewLicenceLine("1", "Orbis ", "Individual", "Deutsch", Euros(99), {}),
              "1 Orbis  Individual  Deutsch : 99.00 EUR");

    // The locale's separators reach the amount.
    const MoneyFormat german{".", ","};
    EXPECT_EQ(NewLicenceLine("2", "Orbis", "Individual", "English", Euros(1530), german),
              "2 Orbis Individual  English : 1.530,00 EUR");
}

TEST(ItemLine, KindIndexChoosesTheFormat)
{
    // Two licences in the number field: an update line still counts the one update it charges.
    ItemLineFields item{"2", "Orbis", 0, "", "Individual", "English", "4711"};
    const std::string newLine = "2 Orbis Individual  English : 40.00 EUR";
    const struct {
        int kindIndex;
        const char* kind;
        std::string expected;
    } cases[] = {
        {-1, "", newLine},
        {0, "New", newLine},
        {1, "Update (Win32/64)", "1 Orbis Update (Win32/64) English #4711 : 40.00 EUR"},
        {2, "Update Win64", "1 Orbis Update Win64 English #4711 : 40.00 EUR"},
        {3, "Other", newLine},
    };
    for (const auto& c : cases) {
        item.kindIndex = c.kindIndex;
        item.kind = c.kind;
        EXPECT_EQ(ItemLine(item, Euros(40), {}), c.expected) << c.kindIndex;
    }
}

TEST(Postage, ByDeliveryAndLocation)
{
    const Money previous = Money::fromCents(1234);
    const struct {
        int delivery;
        int location;
        Money expected;
    } cases[] = {
        {0, 0, Money()},   {0, 1, Money()},   {0, 2, Money()},
        {0, -1, Money()},  {1, 0, Euros(10)}, {1, 1, Euros(25)},
        {1, 2, Euros(60)}, {1, -1, previous}, {1, 3, previous},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Postage(c.delivery, c.location, previous), c.expected)
            << c.delivery << "/" << c.location;
}

// ISO 13616: the IBAN with its first four characters moved to the end, letters as 10..35,
// leaves remainder 1 modulo 97.
int IbanRemainder(std::string_view iban)
{
    const std::string rearranged = std::string(iban.substr(4)) + std::string(iban.substr(0, 4));
    int remainder = 0;
    for (char c : rearranged) {
        const int value = (c >= 'A' && c <= 'Z') ? c - 'A' + 10 : c - '0';
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    return remainder;
}

TEST(Seller, IbanAndBicAreWellFormed)
{
    EXPECT_EQ(seller::kIban.size(), 22u);
    EXPECT_TRUE(seller::kIban.starts_with("DE"));
    EXPECT_EQ(IbanRemainder(seller::kIban), 1);
    std::string mistyped(seller::kIban);
    mistyped.back() = mistyped.back() == '9' ? '0' : static_cast<char>(mistyped.back() + 1);
    EXPECT_NE(IbanRemainder(mistyped), 1); // the checker can fail
    EXPECT_TRUE(seller::kBic.size() == 8 || seller::kBic.size() == 11);
    EXPECT_FALSE(seller::kPayPalLink.ends_with("/"));
}

TEST(PaymentInstructions, LabelsByKind)
{
    EXPECT_EQ(PaymentInstructionsFor(0),
              (PaymentInstructions{"bank transfer", "IBAN: DE52 1234 5678 4711 0815 00",
                                   "BIC: NHBKDEHH (Nordhafen Handelsbank)"}));
    EXPECT_EQ(PaymentInstructionsFor(1),
              (PaymentInstructions{"PayPal", "https://www.paypal.me/velmarosoftware", ""}));
    EXPECT_EQ(PaymentInstructionsFor(-1), PaymentInstructions{});
    EXPECT_EQ(GroupedIban("ABCDEFGH"), "ABCD EFGH");
}

ClosingInput Closing(Money net, int location, int delivery, int payment)
{
    ClosingInput input;
    input.netSum = net;
    input.location = location;
    input.postage = Postage(delivery, location, Money());
    input.payment = payment;
    input.vatNoShown = location == 1;
    input.sumNetCaption = "sum net";
    input.postageCaption = "Postage cost";
    input.vatNoCaption = "European VAT No.";
    input.paymentCaption = "Payment";
    input.paymentLabels = PaymentInstructionsFor(payment);
    input.address = {"Quillfeather Ltd",        "Ada Example", "1 Sample Road", "", "Newtown",
                     "ada@quillfeather.example"};
    return input;
}

const Lines kBankBlock = {"", "Payment: bank transfer", "IBAN: DE52 1234 5678 4711 0815 00",
                          "BIC: NHBKDEHH (Nordhafen Handelsbank)",
                          "Software released by key code after receipt of payment"};
const Lines kAddressBlock = {
    "",        "Quillfeather Ltd",        "Ada Example", "1 Sample Road", "",
    "Newtown", "ada@quillfeather.example"};

Lines Concat(Lines a, const Lines& b, const Lines& c)
{
    a.insert(a.end(), b.begin(), b.end());
    a.insert(a.end(), c.begin(), c.end());
    return a;
}

TEST(ClosingLines, DeutschlandAddsVatOnNetSum)
{
    const ClosingBlock block = ClosingLines(Closing(Euros(100), 0, 0, 0), {});
    EXPECT_EQ(block.lines, Concat({"", "sum net: 100.00 EUR", "Postage cost: 0.00 EUR",
                                   "19% VAT :19.00", "Sum total: 119.00 EUR"},
                                  kBankBlock, kAddressBlock));
    EXPECT_EQ(block.total, Euros(119));
}

TEST(ClosingLines, VatIsTakenOnNetSumPlusPostage)
{
    const ClosingBlock block = ClosingLines(Closing(Euros(1234), 0, 1, 0), {});
    EXPECT_EQ(Lines(block.lines.begin(), block.lines.begin() + 5),
              (Lines{"", "sum net: 1,234.00 EUR", "Postage cost: 10.00 EUR", "19% VAT :236.36",
                     "Sum total: 1,480.36 EUR"}));
    EXPECT_EQ(block.total, Money::fromCents(148036));
}

TEST(ClosingLines, WorldCdRomHasNoVat)
{
    const ClosingBlock block = ClosingLines(Closing(Euros(100), 2, 1, 0), {});
    EXPECT_EQ(block.lines, Concat({"", "sum net: 100.00 EUR", "Postage cost: 60.00 EUR",
                                   "Sum total: 160.00 EUR"},
                                  kBankBlock, kAddressBlock));
    EXPECT_EQ(block.total, Euros(160));
}

TEST(ClosingLines, EuropeanUnionWritesTheVatNumber)
{
    ClosingInput input = Closing(Euros(100), 1, 1, 0);
    input.vatNo = "XY123456789";
    EXPECT_EQ(ClosingLines(input, {}).lines,
              Concat({"", "sum net: 100.00 EUR", "Postage cost: 25.00 EUR", "Sum total: 125.00 EUR",
                      "", "European VAT No.: XY123456789"},
                     kBankBlock, kAddressBlock));

    // A number typed while the field was shown is not written once it is hidden.
    input.location = 2;
    input.vatNoShown = false;
    for (const std::string& line : ClosingLines(input, {}).lines)
        EXPECT_EQ(line.find("XY123456789"), std::string::npos) << line;
}

TEST(ClosingLines, PayPalLinkCarriesTheTotalToTheCent)
{
    const ClosingBlock block = ClosingLines(Closing(Money::fromUnits(146845600000), 2, 0, 1), {});
    EXPECT_EQ(
        block.lines,
        Concat({"", "sum net: 1,468.46 EUR", "Postage cost: 0.00 EUR", "Sum total: 1,468.46 EUR"},
               {"", "Payment: PayPal", "https://www.paypal.me/velmarosoftware/1468.46EUR", ""},
               kAddressBlock));

    // With VAT the link takes the gross total, and beyond 100,000 it stays a plain amount.
    const ClosingBlock gross = ClosingLines(Closing(Euros(100000), 0, 1, 1), {});
    EXPECT_EQ(gross.lines[7], "https://www.paypal.me/velmarosoftware/119011.90EUR");
}

TEST(ClosingLines, EmptyAddressCellsAndUnknownPaymentKind)
{
    ClosingInput input = Closing(Euros(5), 2, 0, -1);
    input.address = {"", "Ada Example", "", "", "", ""};
    EXPECT_EQ(ClosingLines(input, {}).lines,
              (Lines{"", "sum net: 5.00 EUR", "Postage cost: 0.00 EUR", "Sum total: 5.00 EUR", "",
                     "", "Ada Example", "", "", "", ""}));
}

TEST(ClosingLines, LocaleSeparatorsInEveryAmount)
{
    const MoneyFormat german{".", ","};
    const ClosingBlock block = ClosingLines(Closing(Euros(1234), 0, 1, 1), german);
    EXPECT_EQ(block.lines[1], "sum net: 1.234,00 EUR");
    EXPECT_EQ(block.lines[3], "19% VAT :236,36");
    EXPECT_EQ(block.lines[4], "Sum total: 1.480,36 EUR");
    EXPECT_EQ(block.lines[7], "https://www.paypal.me/velmarosoftware/1480.36EUR");

    // The link's amount is the payment service's, the same in German and English settings.
    const ClosingInput halfCent = Closing(Money::fromUnits(167562500000), 2, 0, 1);
    EXPECT_EQ(ClosingLines(halfCent, german).lines[3], "Sum total: 1.675,63 EUR");
    EXPECT_EQ(ClosingLines(halfCent, german).lines[6], ClosingLines(halfCent, {}).lines[6]);
    EXPECT_EQ(ClosingLines(halfCent, {}).lines[6],
              "https://www.paypal.me/velmarosoftware/1675.63EUR");
}

TEST(ClosingCheck, NetSumFirstThenVatNumber)
{
    EXPECT_EQ(ClosingCheckFor(Money(), true, ""), ClosingCheck::NothingToClose);
    EXPECT_EQ(ClosingCheckFor(Money(), false, ""), ClosingCheck::NothingToClose);
    EXPECT_EQ(ClosingCheckFor(Money::fromUnits(-1), true, ""), ClosingCheck::VatNoMissing);
    EXPECT_EQ(ClosingCheckFor(Euros(1), true, ""), ClosingCheck::VatNoMissing);
    EXPECT_EQ(ClosingCheckFor(Euros(1), true, " "), ClosingCheck::Ok);
    EXPECT_EQ(ClosingCheckFor(Euros(1), false, ""), ClosingCheck::Ok);
}

TEST(UpdateOrder, OneLinePerNamedProgram)
{
    const std::vector<LicenceEntry> entries = {
        {"", "999"}, {"Orbis", "123"}, {" ", "7"}, {"", ""}, {"ABC", ""},
    };
    EXPECT_EQ(UpdateOrderLines(entries, kUpdateOrderPrice, {}),
              (Lines{"1 Update Orbis #123 : 40.00 EUR", "1 Update   #7 : 40.00 EUR",
                     "1 Update ABC # : 40.00 EUR"}));
    EXPECT_TRUE(UpdateOrderLines({{"", "1"}, {"", ""}}, kUpdateOrderPrice, {}).empty());
}

TEST(UpgradeInquiry, FrameAroundTheNamedLicences)
{
    EXPECT_EQ(UpgradeInquiryLines({{"", "1"}}),
              (Lines{"Inquiry", "", "We own these licenses:", "", "",
                     "We are interested in these Upgrades:",
                     "(i.e.  individual license -> floating license, upgrade into plus version "
                     "...)"}));

    const Lines lines = UpgradeInquiryLines({{"Orbis", "123"}, {"", "5"}, {"Tessel Draft", ""}});
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], "Orbis #123");
    EXPECT_EQ(lines[5], "Tessel Draft #");
    EXPECT_EQ(lines[6], "");
}

} // namespace
} // namespace velmaro
