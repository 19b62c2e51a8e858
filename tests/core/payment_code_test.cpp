#include "core/payment_code.h"

#include "core/seller.h"

#include <gtest/gtest.h>
#include <string>

namespace velmaro {
namespace {

constexpr Date kDay = {2026, 12, 10};
const std::string kFixed =
    "BCD\n002\n1\nSCT\nNHBKDEHH\nVELMARO Software\nDE52123456784711081500\nEUR";

TEST(PaymentCode, TransferPayloadKeepsEveryFieldRule)
{
    const std::string a200(200, 'A');
    std::string euros200; // three bytes each: the payload's byte limit cuts before the 140th
    for (int i = 0; i < 200; ++i)
        euros200 += "\u20AC";
    const struct {
        Money total;
        std::string company, name;
        std::string tail; // from the amount on
    } cases[] = {
        {Money::fromUnits(167'562'500'000), "M\u00FCller & S\u00F6hne", "R. Amsel",
         "1675.63\n\n\nOrder 2026-12-10 M\u00FCller & S\u00F6hne"},
        {Money::fromCents(100), "\r\nQuillfield\r\nInstruments\u202ELtd\t\u2028", "",
         "1.00\n\n\nOrder 2026-12-10 Quillfield Instruments Ltd"},
        {Money::fromCents(1), " \n ", "R. Amsel", "0.01\n\n\nOrder 2026-12-10 R. Amsel"},
        {kTransferCodeMaxAmount, "", "", "999999999.99\n\n\nOrder 2026-12-10"},
        {Money::fromEuros(40), a200, "", "40.00\n\n\nOrder 2026-12-10 " + a200.substr(0, 123)},
        {kTransferCodeMaxAmount, euros200, "",
         "999999999.99\n\n\nOrder 2026-12-10 " + euros200.substr(0, 3 * 77)},
        // The 140th character is a decomposed umlaut's letter, the joiner after the first person
        // of a family emoji, or the first half of a flag: each group stays out as a whole.
        {Money::fromEuros(40), a200.substr(0, 122) + "u\u0308", "",
         "40.00\n\n\nOrder 2026-12-10 " + a200.substr(0, 122)},
        {Money::fromEuros(40), a200.substr(0, 121) + "\U0001F468\u200D\U0001F469\u200D\U0001F467",
         "", "40.00\n\n\nOrder 2026-12-10 " + a200.substr(0, 121)},
        {Money::fromEuros(40), a200.substr(0, 120) + "\U0001F1E9\U0001F1EA\U0001F1E6\U0001F1F9", "",
         "40.00\n\n\nOrder 2026-12-10 " + a200.substr(0, 120) + "\U0001F1E9\U0001F1EA"},
    };
    for (const auto& c : cases) {
        const PaymentCode code = PaymentCodeFor({0, c.total, kDay, c.company, c.name}, {});
        EXPECT_TRUE(code.ready());
        EXPECT_EQ(code.payload, kFixed + c.tail);
        EXPECT_LE(code.payload.size(), kTransferCodeMaxBytes);
    }
}

TEST(PaymentCode, TotalsOutsideTheTransferLimitsGiveNoCode)
{
    for (const Money total : {Money(), Money::fromUnits(499'999), Money::fromEuros(1'000'000'000),
                              Money::fromCents(-100)}) {
        const PaymentCode code = PaymentCodeFor({0, total, kDay, "Quillfield", ""}, {});
        EXPECT_EQ(code.status, PaymentCode::Status::AmountOutOfRange);
        EXPECT_EQ(code.payload, "");
    }
    EXPECT_EQ(PaymentCodeFor({0, Money::fromEuros(1'190'000'000), kDay, "", ""}, {".", ","}).text,
              "There is no payment code for this order: a bank transfer code carries 0,01 to "
              "999.999.999,99 EUR, and the total is 1.190.000.000,00 EUR.");
    EXPECT_TRUE(TransferAmountFits(Money::fromUnits(500'000))); // rounds up to the cent
}

TEST(PaymentCode, PayPalCodeHoldsTheLinkOfTheOrderText)
{
    ClosingInput closing;
    closing.netSum = Money::fromUnits(140'714'285'714);
    closing.location = 2;
    closing.payment = 1;
    const ClosingBlock block = ClosingLines(closing, {});
    const PaymentCode code = PaymentCodeFor({1, block.total, kDay, "", ""}, {".", ","});
    EXPECT_EQ(code.payload, block.lines[6]);
    EXPECT_EQ(code.payload, std::string(seller::kPayPalLink) + "/1407.14EUR");
    EXPECT_EQ(code.text, "Scan to pay 1.407,14 EUR with PayPal");
    EXPECT_EQ(PaymentCodeFor({0, block.total, kDay, "", ""}, {}).text,
              "Scan with your banking app to pay 1,407.14 EUR to VELMARO Software");
    EXPECT_EQ(PaymentCodeFor({-1, block.total, kDay, "", ""}, {}).status,
              PaymentCode::Status::NoPaymentKind);
}

} // namespace
} // namespace velmaro
