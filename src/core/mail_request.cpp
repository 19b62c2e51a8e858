#include "core/mail_request.h"

#include "core/seller.h"

namespace velmaro {
namespace {

constexpr bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::size_t EncodedSize(std::string_view text)
{
    std::size_t size = 0;
    for (char c : text)
        size += IsUnreserved(static_cast<unsigned char>(c)) ? 1 : 3;
    return size;
}

void AppendPercentEncoded(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
}

constexpr std::string_view kLineFeed = "%0A";

} // namespace

std::string PercentEncoded(std::string_view text)
{
    std::string out;
    out.reserve(EncodedSize(text));
    AppendPercentEncoded(out, text);
    return out;
}

std::string MailRequestPrefix()
{
    std::string prefix = "MAILTO:";
    prefix += seller::kEmail;
    prefix += "?subject=";
    prefix += PercentEncoded("Purchase Order");
    prefix += "&body=";
    return prefix;
}

std::string BuildMailRequest(std::string_view prefix, std::span<const std::string> lines)
{
    // Sized in a first pass so a long order is built with a single allocation.
    std::size_t size = prefix.size();
    for (const std::string& line : lines)
        size += EncodedSize(line) + kLineFeed.size();

    std::string request;
    request.reserve(size);
    request += prefix;
    for (const std::string& line : lines) {
        AppendPercentEncoded(request, line);
        request += kLineFeed;
    }
    return request;
}

std::string BuildMailRequestFromText(std::string_view prefix, std::string_view text)
{
    // Each "\n" is sized as three bytes, as is the "%0A" that stands for it; a last line without
    // a line break needs one "%0A" more.
    std::string request;
    request.reserve(prefix.size() + EncodedSize(text) + kLineFeed.size());
    request += prefix;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        AppendPercentEncoded(request, text.substr(start, end - start));
        request += kLineFeed;
        start = end + 1;
    }
    return request;
}

std::string PayPalPaymentLink(Money total)
{
    // The link's amount is read by the payment service, not by the customer: to the cent, but
    // in the service's own fixed form rather than with the locale's separators.
    std::string link(seller::kPayPalLink);
    link += '/';
    link += PlainMoneyText(total);
    link += "EUR";
    return link;
}

} // namespace velmaro
