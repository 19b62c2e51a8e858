#include "core/recovery_copy.h"

#include "core/errors.h"

#include <charconv>

namespace velmaro {

namespace {

constexpr std::string_view kHeader = "VELMARO Order recovery copy 1\r\n";
constexpr std::string_view kLineEnd = "\r\n";

// A typed field cannot hold a line break, but a copy must never shift its items if one did.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    std::string_view line()
    {
        const std::size_t end = rest_.find(kLineEnd);
        if (end == std::string_view::npos)
            throw InOutError(106);
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end + kLineEnd.size());
        return text;
    }

    long long number(long long low, long long high)
    {
        const std::string_view text = line();
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
            throw InOutError(106);
        return value;
    }

    int index() { return static_cast<int>(number(-1, kMaxOrderLines)); }
    bool flag() { return number(0, 1) == 1; }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

} // namespace

std::string FormatRecoveryCopy(const RecoveryCopy& copy)
{
    std::string body;
    for (int value : {copy.paket, copy.programm, copy.updateneu, copy.lizenztyp, copy.language})
        body.append(std::to_string(value)).append(kLineEnd);
    body.append(oneLine(copy.anzahl)).append(kLineEnd);
    body.append(oneLine(copy.lizno)).append(kLineEnd);
    for (bool value : {copy.myLicences, copy.mailed, copy.orderTextEndsWithBreak})
        body.append(value ? "1" : "0").append(kLineEnd);
    body.append(FormatOrderFile(copy.order));

    std::string bytes(kHeader);
    bytes.append(std::to_string(body.size())).append(kLineEnd);
    bytes.append(body);
    return bytes;
}

RecoveryCopy ParseRecoveryCopy(std::string_view bytes)
{
    if (bytes.substr(0, kHeader.size()) != kHeader)
        throw InOutError(106);
    Reader reader(bytes.substr(kHeader.size()));
    // The length catches a copy cut short or grown, which the order file's own items, read as
    // leniently as order.qzo is, would not.
    if (static_cast<std::size_t>(reader.number(0, kMaxOrderFileBytes * 2)) != reader.rest().size())
        throw InOutError(106);

    RecoveryCopy copy;
    for (int* value :
         {&copy.paket, &copy.programm, &copy.updateneu, &copy.lizenztyp, &copy.language})
        *value = reader.index();
    copy.anzahl = reader.line();
    copy.lizno = reader.line();
    copy.myLicences = reader.flag();
    copy.mailed = reader.flag();
    copy.orderTextEndsWithBreak = reader.flag();
    copy.order = ParseOrderFile(reader.rest());
    return copy;
}

} // namespace velmaro
