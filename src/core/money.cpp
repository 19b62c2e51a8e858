#include "core/money.h"

#include "core/errors.h"

#include <cstdlib>

namespace velmaro {
namespace {

// a / b rounded half away from zero; b > 0.
std::int64_t divideRounded(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    std::int64_t r = a % b;
    if (r < 0)
        r = -r;
    // r >= b / 2, without doubling r past the range.
    if (r >= b - r)
        q += (a < 0) ? -1 : 1;
    return q;
}

} // namespace

namespace money_detail {

void ThrowOutOfRange()
{
    throw AmountOutOfRange();
}

} // namespace money_detail

Money Money::scaled(std::int64_t numerator, std::int64_t denominator) const
{
    using namespace money_detail;
    if (denominator == 0)
        ThrowOutOfRange();
    if (denominator < 0) {
        numerator = CheckedSubtract(0, numerator);
        denominator = CheckedSubtract(0, denominator);
    }
    // units * numerator would overflow from a few hundred million euros on, which a long order
    // or a hand-edited saved file can reach. Splitting off the whole multiples of the
    // denominator keeps the intermediate products small; both parts share the sign of the
    // result, so rounding the remainder part alone rounds the whole.
    const std::int64_t whole = units_ / denominator;
    const std::int64_t rest = units_ % denominator;
    return Money(CheckedAdd(CheckedMultiply(whole, numerator),
                            divideRounded(CheckedMultiply(rest, numerator), denominator)));
}

Money NetSumPlus(Money netSum, Money amount, const MoneyFormat& format)
{
    const Money sum = netSum + amount;
    if (sum < Money() || sum > kMaxNetSum)
        throw OrderError("The net sum would exceed " + MoneyTextEur(kMaxNetSum, format));
    return sum;
}

std::int64_t Money::roundedCents() const
{
    return divideRounded(units_, kUnitsPerCent);
}

std::string MoneyText(Money amount, const MoneyFormat& format)
{
    const std::int64_t cents = amount.roundedCents();
    const std::uint64_t magnitude =
        cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);

    const std::string digits = std::to_string(magnitude / 100);
    std::string text;
    if (cents < 0)
        text += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += format.thousandsSeparator;
        text += digits[i];
    }
    const auto fraction = static_cast<unsigned>(magnitude % 100);
    text += format.decimalSeparator;
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

std::string MoneyTextEur(Money amount, const MoneyFormat& format)
{
    return MoneyText(amount, format) + " EUR";
}

std::int32_t ParseLicenceNo(std::string_view text)
{
    return TryParseLicenceNo(text).value_or(0);
}

std::optional<std::int32_t> TryParseLicenceNo(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    text.remove_prefix(pos);

    bool negative = false;
    int base = 10;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() &&
               (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;

    // Hex digits give the 32-bit pattern, so $FFFFFFFF reads as -1; decimal digits must fit
    // the signed range.
    std::uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (negative) {
        if (value > 0x80000000ull)
            return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    }
    if (value > 0x7FFFFFFFull)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string PlainMoneyText(Money amount)
{
    return MoneyText(amount, MoneyFormat{"", "."});
}

} // namespace velmaro
