#include "core/order_file.h"

#include "core/errors.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace velmaro {
namespace {

constexpr int kInvalidNumericInput = 106;
constexpr int kRealMantissaDigits = 15;
constexpr int kUnitDecimals = 8; // Money counts 10^-8 euro

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole number in decimal digits with an optional sign, within 32 bits.
std::optional<int> parseWholeNumber(std::string_view token)
{
    bool negative = false;
    if (!token.empty() && (token.front() == '-' || token.front() == '+')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    if (token.empty())
        return std::nullopt;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (char c : token) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Reads the file's items front to back; every read moves forward, so a parse is linear in the
// file's size plus the counts it accepts.
class ItemReader {
public:
    explicit ItemReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    // Whether the item read last was ended by a line break rather than by the end of the file.
    bool lineEnded() const { return lineEnded_; }

    int readCount()
    {
        while (pos_ < text_.size() && isBlankOrControl(text_[pos_]))
            ++pos_;
        if (pos_ == text_.size())
            return 0;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !isBlankOrControl(text_[pos_]))
            ++pos_;
        const std::optional<int> value = parseWholeNumber(text_.substr(start, pos_ - start));
        if (!value)
            throw InOutError(kInvalidNumericInput);
        skipRestOfLine();
        return *value;
    }

    // The rest of the line. The writer never puts a line break inside a text, so a lone LF
    // too ends it: a file whose line ends a copy tool converted loads intact.
    std::string readText()
    {
        const std::size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
        std::string text(text_.substr(pos_, end - pos_));
        pos_ = end;
        skipLineEnd();
        return text;
    }

private:
    // Up to and including the line end.
    void skipRestOfLine()
    {
        while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n')
            ++pos_;
        skipLineEnd();
    }

    // CR LF as written, or a lone CR or LF of a file that was edited elsewhere.
    void skipLineEnd()
    {
        lineEnded_ = pos_ < text_.size();
        if (!lineEnded_)
            return;
        if (text_[pos_++] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool lineEnded_ = false;
};

// A row count as the tables take it: below 1 gives 1; a count no window reaches is rejected
// before rows are made for it.
int readRowCount(ItemReader& reader)
{
    const int count = std::max(reader.readCount(), 1);
    if (count > kMaxTableRows)
        throw InOutError(kInvalidNumericInput);
    return count;
}

// The length of the UTF-8 sequence starting at `pos`, or 0 when none starts there: no overlong
// forms, no surrogates, nothing past U+10FFFF.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - pos < length)
        return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF)
            return 0;
    return length;
}

// Windows-1252's characters for the bytes 0x80 to 0x9F; the five it leaves undefined keep
// their value, as Windows itself decodes them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& text, char16_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendWindows1252(std::string& text, std::string_view bytes)
{
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        appendUtf8(text, c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : char16_t{c});
    }
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void appendLine(std::string& file, std::string_view line)
{
    file += line;
    file += "\r\n";
}

void appendTextLine(std::string& file, std::string_view text)
{
    const std::size_t start = file.size();
    file += text;
    for (std::size_t i = file.find_first_of("\r\n", start); i != std::string::npos;
         i = file.find_first_of("\r\n", i + 1))
        file[i] = ' ';
    file += "\r\n";
}

} // namespace

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string Utf8OrWindows1252(std::string bytes)
{
    // An editor's byte-order mark says UTF-8; left in place, it would spoil the first count.
    if (std::string_view(bytes).starts_with(kUtf8Bom))
        bytes.erase(0, kUtf8Bom.size());
    if (IsValidUtf8(bytes))
        return bytes;
    // Line by line: a stray byte, or a character cut off at the end of a file written only in
    // part, must not turn every umlaut of the other lines into two characters for good.
    const std::string_view all(bytes);
    // Room for the most it can take, every byte past ASCII becoming three, so that the text is
    // not copied over and over as it grows.
    const auto high = std::count_if(all.begin(), all.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    std::string text;
    text.reserve(all.size() + 2 * static_cast<std::size_t>(high));
    for (std::size_t pos = 0; pos < all.size();) {
        const std::size_t end = std::min(all.find_first_of("\r\n", pos), all.size());
        const std::string_view line = all.substr(pos, end - pos);
        if (IsValidUtf8(line))
            text += line;
        else
            appendWindows1252(text, line);
        if (end < all.size())
            text += all[end];
        pos = end + 1;
    }
    return text;
}

void CheckOrderFileLimits(const SavedOrder& order)
{
    if (order.licenceRowCount > kMaxTableRows)
        throw OrderError("The license table has more than 10,000 rows, which order.qzo cannot "
                         "hold; the order was not saved");
    if (order.addressRowCount > kMaxTableRows)
        throw OrderError("The address table has more than 10,000 rows, which order.qzo cannot "
                         "hold; the order was not saved");
    if (order.orderLines.size() > static_cast<std::size_t>(kMaxOrderLines))
        throw OrderError("The order text has more than 1,000,000 lines, which order.qzo cannot "
                         "hold; the order was not saved");
}

std::string FormatOrderFile(const SavedOrder& order)
{
    CheckOrderFileLimits(order);
    std::string file;
    const std::array<std::string, kLicenceColumns> emptyRow;

    const int rows = std::max(order.licenceRowCount, 1);
    appendLine(file, std::to_string(rows));
    for (int r = 0; r < rows; ++r) {
        const auto index = static_cast<std::size_t>(r);
        const auto& row = index < order.licenceRows.size() ? order.licenceRows[index] : emptyRow;
        for (const std::string& cell : row)
            appendTextLine(file, cell);
    }

    const int addressRows = std::max(order.addressRowCount, 1);
    appendLine(file, std::to_string(addressRows));
    for (int r = 0; r <= addressRows; ++r) {
        const auto index = static_cast<std::size_t>(r);
        appendTextLine(file, index < order.addressCells.size() ? order.addressCells[index] : "");
    }

    appendLine(file, std::to_string(order.location));
    appendLine(file, std::to_string(order.delivery));
    appendLine(file, std::to_string(order.payment));
    for (const std::string& text : order.texts)
        appendTextLine(file, text);

    appendLine(file, std::to_string(order.orderLines.size()));
    for (const std::string& line : order.orderLines)
        appendTextLine(file, line);

    appendLine(file, FormatReal(order.netSum.value_or(Money())));
    // The reader refuses a larger file unread, and the order would not come back.
    if (file.size() > static_cast<std::size_t>(kMaxOrderFileBytes))
        throw OrderError("The order is larger than 128 MiB, which order.qzo cannot hold; the "
                         "order was not saved");
    return file;
}

SavedOrder ParseOrderFile(std::string_view text)
{
    ItemReader reader(text);
    SavedOrder order;

    order.licenceRowCount = readRowCount(reader);
    order.licenceRows.resize(static_cast<std::size_t>(order.licenceRowCount));
    for (auto& row : order.licenceRows)
        for (std::string& cell : row)
            cell = reader.readText();

    order.addressRowCount = readRowCount(reader);
    order.addressCells.resize(static_cast<std::size_t>(order.addressRowCount) + 1);
    for (std::string& cell : order.addressCells)
        cell = reader.readText();

    order.location = reader.readCount();
    order.delivery = reader.readCount();
    order.payment = reader.readCount();
    for (std::string& field : order.texts)
        field = reader.readText();

    const int lineCount = reader.readCount();
    if (lineCount > kMaxOrderLines)
        throw InOutError(kInvalidNumericInput);
    // Lines past the end of the file would all be empty: a short file that claims a million
    // lines must not fill the order text with them, so its text ends where the file does.
    for (int i = 0; i < lineCount && !reader.atEnd(); ++i)
        order.orderLines.push_back(reader.readText());

    // The writer ends the net sum's line like every other; without its line end the file was
    // cut inside it, and what is left may read as another amount (" 5.00" of " 5.00...E-0002").
    // A net sum no order reaches is as damaged as one that is no number.
    const std::string netSumText = reader.readText();
    if (reader.lineEnded())
        order.netSum = ParseReal(netSumText);
    if (order.netSum && (*order.netSum < Money() || *order.netSum > kMaxNetSum))
        order.netSum.reset();
    return order;
}

std::string FormatReal(Money amount)
{
    const std::int64_t units = amount.units();
    if (units == 0)
        return " 0.00000000000000E+0000";
    // Through unsigned, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);

    const std::string digits = std::to_string(magnitude);
    int exponent = static_cast<int>(digits.size()) - 1 - kUnitDecimals;
    std::string mantissa = digits.substr(0, kRealMantissaDigits);
    if (digits.size() > kRealMantissaDigits && digits[kRealMantissaDigits] >= '5') {
        auto it = mantissa.rbegin();
        for (; it != mantissa.rend() && *it == '9'; ++it)
            *it = '0';
        if (it != mantissa.rend()) {
            ++*it;
        } else {
            // 9.99...95 becomes 10.0: one digit more before the point.
            mantissa.insert(mantissa.begin(), '1');
            mantissa.pop_back();
            ++exponent;
        }
    }
    mantissa.resize(kRealMantissaDigits, '0');

    std::string text;
    text += units < 0 ? '-' : ' ';
    text += mantissa[0];
    text += '.';
    text.append(mantissa, 1);
    text += 'E';
    text += exponent < 0 ? '-' : '+';
    const std::string exponentDigits = std::to_string(exponent < 0 ? -exponent : exponent);
    text.append(4 - exponentDigits.size(), '0');
    text += exponentDigits;
    return text;
}

std::optional<Money> ParseReal(std::string_view text)
{
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);

    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';

    // The mantissa's significant digits, and how many of them stand before the point (negative
    // when zeros follow the point before the first of them).
    std::string significant;
    std::int64_t integerDigits = 0;
    bool anyDigit = false;
    bool afterPoint = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (isDigit(c)) {
            anyDigit = true;
            if (significant.empty() && c == '0') {
                if (afterPoint)
                    --integerDigits;
            } else {
                significant += c;
                if (!afterPoint)
                    ++integerDigits;
            }
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    // The exponent is clamped well beyond any amount's range, so that a long run of digits
    // cannot overflow it.
    constexpr std::int64_t kExponentClamp = 1'000'000;
    std::int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            negativeExponent = text[pos++] == '-';
        const std::size_t start = pos;
        for (; pos < text.size() && isDigit(text[pos]); ++pos)
            exponent = std::min(exponent * 10 + (text[pos] - '0'), kExponentClamp);
        if (pos == start)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (pos != text.size())
        return std::nullopt;
    if (significant.empty())
        return Money();

    // Digits of the amount in units that stand before the units' point.
    const std::int64_t unitDigits = integerDigits + exponent + kUnitDecimals;
    if (unitDigits > std::numeric_limits<std::int64_t>::digits10 + 1)
        return std::nullopt;
    if (unitDigits < 0)
        return Money();

    constexpr std::uint64_t kMaxMagnitude = std::numeric_limits<std::int64_t>::max();
    const auto wholeDigits = static_cast<std::size_t>(unitDigits);
    std::uint64_t magnitude = 0;
    for (std::size_t i = 0; i < wholeDigits; ++i) {
        const unsigned digit = i < significant.size() ? unsigned(significant[i] - '0') : 0u;
        if (magnitude > (kMaxMagnitude - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (wholeDigits < significant.size() && significant[wholeDigits] >= '5') {
        if (magnitude == kMaxMagnitude)
            return std::nullopt;
        ++magnitude;
    }
    const auto units = static_cast<std::int64_t>(magnitude);
    return Money::fromUnits(negative ? -units : units);
}

} // namespace velmaro
