#include "core/money.h"

#include "core/errors.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

namespace velmaro {
namespace {

struct TextCase {
    std::int64_t units;
    const char* text;
};

// Amounts as 10^-8 euro, so the half-cent boundaries can be hit exactly.
constexpr std::int64_t kEuro = Money::kUnitsPerEuro;
constexpr std::int64_t kCent = Money::kUnitsPerCent;

TEST(MoneyText, RoundsToTheCentWithTwoDecimalsAndGroupedThousands)
{
    const TextCase cases[] = {
        {0, "0.00"},
        {4 * kCent / 10, "0.00"},     // 0.004
        {5 * kCent / 10, "0.01"},     // 0.005 rounds up
        {5 * kCent / 10 - 1, "0.00"}, // just below the half cent
        {5 * kCent / 100, "0.00"},    // 0.0005
        {40 * kEuro, "40.00"},
        {999 * kEuro, "999.00"},
        {1000 * kEuro, "1,000.00"},
        {1234 * kEuro + 50 * kCent, "1,234.50"},
        {12345 * kEuro + 67 * kCent + 8 * kCent / 10, "12,345.68"},
        {123456 * kEuro + 78 * kCent, "123,456.78"},
        {999999 * kEuro + 99 * kCent + 6 * kCent / 10, "1,000,000.00"},
        {1'500'000 * kEuro, "1,500,000.00"},
        {1'234'567'890 * kEuro + 12 * kCent, "1,234,567,890.12"},
        {-(1234 * kEuro + 50 * kCent), "-1,234.50"},
        {-(5 * kCent / 10), "-0.01"}, // half away from zero
        {-(4 * kCent / 10), "0.00"},  // no "-0.00"
        {-1, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MoneyText(Money::fromUnits(c.units)), c.text) << c.units;
}

TEST(MoneyText, ExtremesOfTheRangeDoNotOverflow)
{
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(MoneyText(Money::fromUnits(kMax)), "92,233,720,368.55");
    EXPECT_EQ(MoneyText(Money::fromUnits(kMin)), "-92,233,720,368.55");
}

TEST(MoneyText, UsesTheGivenSeparators)
{
    const Money amount = Money::fromCents(123'456'789); // 1,234,567.89
    EXPECT_EQ(MoneyText(amount, {".", ","}), "1.234.567,89");
    EXPECT_EQ(MoneyText(amount, {"", "."}), "1234567.89");
    // Multi-byte separators: a no-break space and a narrow no-break space.
    EXPECT_EQ(MoneyText(amount, {"\u00A0", ","}), "1\u00A0234\u00A0567,89");
    EXPECT_EQ(MoneyText(Money::fromCents(-123457), {"\u202F", "\u066B"}), "-1\u202F234\u066B57");
    EXPECT_EQ(MoneyTextEur(Money::fromEuros(40), {".", ","}), "40,00 EUR");
}

TEST(MoneyText, EurAppendsTheCurrency)
{
    EXPECT_EQ(MoneyTextEur(Money::fromCents(257415)), "2,574.15 EUR");
    EXPECT_EQ(MoneyTextEur(Money()), "0.00 EUR");
}

TEST(Money, ScaledRoundsHalfAwayFromZero)
{
    EXPECT_EQ(Money::fromUnits(5).scaled(1, 10), Money::fromUnits(1));
    EXPECT_EQ(Money::fromUnits(4).scaled(1, 10), Money::fromUnits(0));
    EXPECT_EQ(Money::fromUnits(-5).scaled(1, 10), Money::fromUnits(-1));
    EXPECT_EQ(Money::fromUnits(-4).scaled(1, 10), Money::fromUnits(0));
    EXPECT_EQ(Money::fromUnits(15).scaled(-1, 10), Money::fromUnits(-2));
    EXPECT_EQ(Money::fromUnits(15).scaled(1, -10), Money::fromUnits(-2));
    EXPECT_EQ(Money::fromUnits(7).scaled(3, 2), Money::fromUnits(11)); // 10.5
}

TEST(Money, DiscountsAndVatAreExactOnCentPrices)
{
    // 27.5 % off 741.00 is 537.225 exactly; rounding only happens when written.
    const Money discounted = Money::fromCents(74100).lessHalfPercent(55);
    EXPECT_EQ(discounted.units(), 53'722'500'000);
    EXPECT_EQ(MoneyText(discounted), "537.23");
    // A negative discount is a surcharge: -50 % makes 1.5 times.
    EXPECT_EQ(Money::fromEuros(383).lessHalfPercent(-100), Money::fromCents(57450));
    EXPECT_EQ(Money::fromCents(10001).vat(), Money::fromUnits(1'900'190'000));
    EXPECT_EQ(Money::fromCents(10001).withVat(), Money::fromUnits(11'901'190'000));
}

TEST(Money, ScalingLargeAmountsDoesNotOverflow)
{
    // units * 119 passes the 64-bit range at about 775 million euros.
    const Money large = Money::fromEuros(50'000'000'000);
    EXPECT_EQ(large.withVat(), Money::fromEuros(59'500'000'000));
    EXPECT_EQ(large.vat(), Money::fromEuros(9'500'000'000));
    EXPECT_EQ(Money::fromEuros(-50'000'000'000).lessHalfPercent(90),
              Money::fromEuros(-27'500'000'000));
    EXPECT_EQ(Money::fromUnits(std::numeric_limits<std::int64_t>::max()).scaled(1, 2),
              Money::fromUnits(std::numeric_limits<std::int64_t>::max() / 2 + 1));
}

TEST(Money, WhatWouldOverflowThrowsInstead)
{
    const Money top = Money::fromUnits(std::numeric_limits<std::int64_t>::max());
    const Money one = Money::fromUnits(1);
    EXPECT_THROW(top + one, OrderError);
    EXPECT_THROW(Money() - top - one - one, OrderError);
    EXPECT_THROW(top * 2, OrderError);
    EXPECT_THROW((Money() - top - one) * -1, OrderError);
    EXPECT_THROW(Money::fromEuros(92'233'720'369), OrderError);
    EXPECT_THROW(top.withVat(), OrderError);
    EXPECT_EQ(top - one + one, top);
    EXPECT_EQ(NetSumPlus(kMaxNetSum - one, one, {}), kMaxNetSum);
    // The limit is named with the customer's separators.
    try {
        NetSumPlus(kMaxNetSum, one, {".", ","});
        ADD_FAILURE() << "no OrderError";
    } catch (const OrderError& error) {
        EXPECT_STREQ(error.what(), "The net sum would exceed 1.000.000.000,00 EUR");
    }
}

TEST(Money, RoundedCents)
{
    EXPECT_EQ(Money::fromUnits(kCent / 2).roundedCents(), 1);
    EXPECT_EQ(Money::fromUnits(kCent / 2 - 1).roundedCents(), 0);
    EXPECT_EQ(Money::fromUnits(-kCent / 2).roundedCents(), -1);
    EXPECT_EQ(Money::fromEuros(12).roundedCents(), 1200);
}

struct ParseCase {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(ParseLicenceNo, ReadsWholeIntegersOnly)
{
    const ParseCase cases[] = {
        {"4711", 4711},
        {"  4711", 4711},
        {"4711 ", std::nullopt},
        {" 4711 ", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"12a", std::nullopt},
        {"a12", std::nullopt},
        {"12.0", std::nullopt},
        {"1,000", std::nullopt},
        {"\t12", std::nullopt},
        {"0", 0},
        {"007", 7},
        // Signs: decimal only, one, directly before the digits.
        {"+42", 42},
        {"-42", -42},
        {"  -42", -42},
        {"-0", 0},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"- 1", std::nullopt},
        {"-$10", std::nullopt},
        {"-0x10", std::nullopt},
        // Hex prefixes, either case of digits.
        {"$ff", 255},
        {"$FF", 255},
        {"x1a", 26},
        {"X1A", 26},
        {"0x10", 16},
        {"0X10", 16},
        {"  $10", 16},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$1G", std::nullopt},
        {"$ 1", std::nullopt},
        {"0xx1", std::nullopt},
        {"ff", std::nullopt},
        {"1F", std::nullopt},
        // 32-bit range edges.
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", std::numeric_limits<std::int32_t>::min()},
        {"$FFFFFFFF", -1},
        {"$100000000", std::nullopt},
        {"$0000000000FF", 255},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TryParseLicenceNo(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(ParseLicenceNo(c.text), c.value.value_or(0)) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace velmaro
