#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro {

namespace money_detail {

// Throws AmountOutOfRange; out of line, so the header needs no exception types.
[[noreturn]] void ThrowOutOfRange();

constexpr std::int64_t kMaxUnits = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinUnits = std::numeric_limits<std::int64_t>::min();

constexpr std::int64_t CheckedAdd(std::int64_t a, std::int64_t b)
{
    if ((b > 0 && a > kMaxUnits - b) || (b < 0 && a < kMinUnits - b))
        ThrowOutOfRange();
    return a + b;
}

constexpr std::int64_t CheckedSubtract(std::int64_t a, std::int64_t b)
{
    if ((b < 0 && a > kMaxUnits + b) || (b > 0 && a < kMinUnits + b))
        ThrowOutOfRange();
    return a - b;
}

constexpr std::int64_t CheckedMultiply(std::int64_t a, std::int64_t b)
{
    const bool overflow = a > 0 ? (b > 0 ? a > kMaxUnits / b : b < kMinUnits / a)
                                : (b > 0 ? a < kMinUnits / b : a != 0 && b < kMaxUnits / a);
    if (overflow)
        ThrowOutOfRange();
    return a * b;
}

} // namespace money_detail

// An amount of euros, held exactly as a whole number of 10^-8 euro. Every price, discount
// (whole multiples of 0.5 %), VAT and total of an order is exact at this resolution, so the
// figures come out the same on every platform, and rounding happens only where an amount is
// written as text. An operation whose result would not fit throws AmountOutOfRange and
// changes nothing.
class Money {
public:
    static constexpr std::int64_t kUnitsPerEuro = 100'000'000;
    static constexpr std::int64_t kUnitsPerCent = kUnitsPerEuro / 100;

    constexpr Money() = default;

    static constexpr Money fromUnits(std::int64_t units) { return Money(units); }
    static constexpr Money fromCents(std::int64_t cents)
    {
        return Money(money_detail::CheckedMultiply(cents, kUnitsPerCent));
    }
    static constexpr Money fromEuros(std::int64_t euros)
    {
        return Money(money_detail::CheckedMultiply(euros, kUnitsPerEuro));
    }

    constexpr std::int64_t units() const { return units_; }
    constexpr bool isZero() const { return units_ == 0; }

    constexpr Money operator+(Money other) const
    {
        return Money(money_detail::CheckedAdd(units_, other.units_));
    }
    constexpr Money operator-(Money other) const
    {
        return Money(money_detail::CheckedSubtract(units_, other.units_));
    }
    constexpr Money& operator+=(Money other)
    {
        units_ = money_detail::CheckedAdd(units_, other.units_);
        return *this;
    }
    constexpr Money operator*(std::int64_t factor) const
    {
        return Money(money_detail::CheckedMultiply(units_, factor));
    }
    constexpr bool operator==(const Money&) const = default;
    constexpr auto operator<=>(const Money&) const = default;

    // The amount times numerator / denominator, rounded half away from zero to the unit. Exact
    // whenever the result fits; the amount itself may use the whole 64-bit range.
    Money scaled(std::int64_t numerator, std::int64_t denominator) const;

    // The amount with a discount of halfPercent / 2 percent taken off (a negative discount is
    // a surcharge): 27.5 % is halfPercent 55.
    Money lessHalfPercent(int halfPercent) const { return scaled(200 - halfPercent, 200); }

    // German VAT at 19 %, and the amount with it.
    Money vat() const { return scaled(19, 100); }
    Money withVat() const { return scaled(119, 100); }

    // The amount rounded half away from zero to whole cents.
    std::int64_t roundedCents() const;

private:
    constexpr explicit Money(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

// The highest net sum an order may reach, and the highest the saved order file takes back; a
// customer's largest order stays far below it, and every total made from it fits in Money.
inline constexpr Money kMaxNetSum = Money::fromEuros(1'000'000'000);

// The separators of the user's number format; the window passes those of its locale.
struct MoneyFormat {
    std::string thousandsSeparator = ",";
    std::string decimalSeparator = ".";
};

// The net sum with the amount added; throws OrderError, and changes nothing, when that would
// leave 0 to kMaxNetSum. The message names the limit in the given format, as every amount
// shown to the customer is.
Money NetSumPlus(Money netSum, Money amount, const MoneyFormat& format);

// The amount rounded to the cent with two decimals and grouped thousands:
// 1234.5 -> "1,234.50", -0.004 -> "0.00".
std::string MoneyText(Money amount, const MoneyFormat& format = {});

// MoneyText followed by " EUR".
std::string MoneyTextEur(Money amount, const MoneyFormat& format = {});

// A licence number or count typed by the user: optional leading blanks, then decimal digits
// with an optional sign, or hex digits after "$", "x", "X", "0x" or "0X"; the value must fit in
// a signed 32-bit integer. Anything else, including trailing blanks, gives 0.
std::int32_t ParseLicenceNo(std::string_view text);

// The same reading, but std::nullopt for a text that is not such an integer, so that "0" and
// "abc" can be told apart (the number of licences falls back to 1 only for the latter).
std::optional<std::int32_t> TryParseLicenceNo(std::string_view text);

// The amount as a payment service reads it, whatever the user's locale: rounded half away from
// zero to the cent, with "." before exactly two decimals and no grouping: 1675.625 -> "1675.63".
std::string PlainMoneyText(Money amount);

} // namespace velmaro
