#include "core/payment_code.h"

#include "core/seller.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaro {
namespace {

constexpr Date kDay = {2026, 12, 10};

std::vector<std::string> Fields(const std::string& payload)
{
    std::vector<std::string> fields(1);
    for (char c : payload) {
        if (c == '\n')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::size_t Characters(const std::string& text)
{
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

TEST(PaymentCode, TransferPayloadKeepsEveryFieldRule)
{
    const std::string a200(200, 'A');
    std::string euros200;
    for (int i = 0; i < 200; ++i)
        euros200 += "\u20AC";
    const struct {
        const char* label;
        Money total;
        std::string company, name;
        const char* amount;
        std::string remittance; // empty: the byte limit decides, checked below
    } cases[] = {
        {"umlauts", Money::fromUnits(167'562'500'000), "M\u00FCller & S\u00F6hne GmbH", "R. Amsel",
         "EUR1675.63", "Order 2026-12-10 M\u00FCller & S\u00F6hne GmbH"},
        {"line breaks", Money::fromCents(100), "\r\nQuillfield\r\nInstruments\tLtd\u2028", "",
         "EUR1.00", "Order 2026-12-10 Quillfield Instruments Ltd"},
        {"blank company", Money::fromCents(1), " \n ", "R. Amsel", "EUR0.01",
         "Order 2026-12-10 R. Amsel"},
        {"no party", kTransferCodeMaxAmount, "", "", "EUR999999999.99", "Order 2026-12-10"},
        {"200 characters", Money::fromEuros(40), a200, "", "EUR40.00",
         "Order 2026-12-10 " + a200.substr(0, 123)},
        {"200 three-byte characters", kTransferCodeMaxAmount, euros200, "", "EUR999999999.99", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const PaymentCode code = PaymentCodeFor({0, c.total, kDay, c.company, c.name}, {});
        ASSERT_TRUE(code.ready());
        const std::vector<std::string> fields = Fields(code.payload);
        ASSERT_EQ(fields.size(), 11U);
        EXPECT_EQ(std::vector(fields.begin(), fields.begin() + 4),
                  (std::vector<std::string>{"BCD", "002", "1", "SCT"}));
        EXPECT_EQ(fields[4], "NHBKDEHH");
        EXPECT_EQ(fields[5], "VELMARO Software");
        EXPECT_EQ(fields[6], "DE52123456784711081500");
        EXPECT_EQ(fields[7], c.amount);
        EXPECT_EQ(fields[8] + fields[9], "");
        EXPECT_LE(code.payload.size(), kTransferCodeMaxBytes);
        EXPECT_LE(Characters(fields[10]), kRemittanceMaxCharacters);
        if (!c.remittance.empty()) {
            EXPECT_EQ(fields[10], c.remittance);
        } else { // as many whole euro signs as the bytes allow
            EXPECT_GT(code.payload.size(), kTransferCodeMaxBytes - 3);
            EXPECT_EQ(fields[10], "Order 2026-12-10 " + euros200.substr(0, fields[10].size() - 17));
        }
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
    const MoneyFormat german{".", ","};
    EXPECT_EQ(PaymentCodeFor({0, Money::fromEuros(1'190'000'000), kDay, "", ""}, german).text,
              "There is no payment code for this order: a bank transfer code carries 0,01 to "
              "999.999.999,99 EUR, and the total is 1.190.000.000,00 EUR.");
    EXPECT_TRUE(TransferAmountFits(Money::fromUnits(500'000))); // rounds up to the cent
}

TEST(PaymentCode, PayPalCodeHoldsTheLinkOfTheOrderText)
{
    ClosingInput closing;
    closing.netSum = Money::fromUnits(140'714'285'714); // 1407.14285714
    closing.location = 2;
    closing.payment = 1;
    const ClosingBlock block = ClosingLines(closing, {});
    const PaymentCode code = PaymentCodeFor({1, block.total, kDay, "Quillfield", ""}, {".", ","});
    ASSERT_TRUE(code.ready());
    EXPECT_EQ(code.payload, block.lines[6]);
    EXPECT_EQ(code.payload, std::string(seller::kPayPalLink) + "/1407.14EUR");
    EXPECT_EQ(code.text, "Scan to pay 1.407,14 EUR with PayPal");

    EXPECT_EQ(PaymentCodeFor({0, block.total, kDay, "", ""}, {}).text,
              "Scan with your banking app to pay 1,407.14 EUR to VELMARO Software");
    EXPECT_EQ(PaymentCodeFor({-1, block.total, kDay, "", ""}, {}).status,
              PaymentCode::Status::NoPaymentKind);
    EXPECT_EQ(PaymentCode().status, PaymentCode::Status::NotYet);
}

} // namespace
} // namespace velmaro
