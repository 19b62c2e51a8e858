#include "core/mail_request.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmaro {
namespace {

using Lines = std::vector<std::string>;

const std::string kPrefix = "MAILTO:orders@velmaro-software.example?subject=Purchase%20Order&body=";

// Undoes %XX; fails the test on a malformed escape or a byte that should have been escaped.
std::string PercentDecoded(std::string_view text)
{
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        ADD_FAILURE() << "not an upper-case hex digit: " << c;
        return 0;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size()) {
                ADD_FAILURE() << "truncated escape";
                break;
            }
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                    (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                    c == '~';
            EXPECT_TRUE(unreserved) << "unescaped byte " << static_cast<int>(c);
            out += c;
        }
    }
    return out;
}

TEST(MailRequest, Prefix)
{
    EXPECT_EQ(MailRequestPrefix(), kPrefix);
}

TEST(MailRequest, EveryLineFollowedByALineFeed)
{
    const Lines lines = {"Purchase Order to VELMARO Software", "", "P.O.:"};
    EXPECT_EQ(BuildMailRequest(kPrefix, lines),
              kPrefix + "Purchase%20Order%20to%20VELMARO%20Software%0A%0AP.O.%3A%0A");
    EXPECT_EQ(BuildMailRequest(kPrefix, Lines{}), kPrefix);
}

TEST(MailRequest, SpecialCharactersAreEncoded)
{
    const Lines lines = {"1 Orbis Update Win64 English #4711 : 40.00 EUR", "a&b%c?d+e/f=g",
                         "Stra\xC3\x9F"
                         "e ä~-_."};
    const std::string body = BuildMailRequest("", lines);
    EXPECT_EQ(body, "1%20Orbis%20Update%20Win64%20English%20%234711%20%3A%2040.00%20EUR%0A"
                    "a%26b%25c%3Fd%2Be%2Ff%3Dg%0A"
                    "Stra%C3%9Fe%20%C3%A4~-_.%0A");
}

TEST(MailRequest, BodyRoundTripsThroughADecoder)
{
    Lines lines = {"sum net: 1,234.00 EUR", "", "Café & Co. #3 (100%)?", "\t<tab>\r",
                   "https://www.paypal.me/velmarosoftware/1,468.46EUR"};
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    lines.push_back(all);

    const std::string request = BuildMailRequest(kPrefix, lines);
    ASSERT_TRUE(request.starts_with(kPrefix));
    const std::string body = request.substr(kPrefix.size());
    EXPECT_EQ(body.find_first_of("#&?"), std::string::npos);

    std::string expected;
    for (const std::string& line : lines)
        expected += line + "\n";
    EXPECT_EQ(PercentDecoded(body), expected);
}

TEST(MailRequest, LongOrderIsBuiltWhole)
{
    const Lines lines(100'000, "1 Orbis Individual  English : 40.00 EUR");
    const std::string request = BuildMailRequest(kPrefix, lines);
    const std::string one = PercentEncoded(lines.front()) + "%0A";
    ASSERT_EQ(request.size(), kPrefix.size() + lines.size() * one.size());
    EXPECT_EQ(request.substr(request.size() - one.size()), one);
}

TEST(MailRequest, FromWholeTextMatchesLineByLine)
{
    // The text form splits at "\n" and leaves out the empty remainder after a final one.
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"", {}},       {"a", {"a"}},
        {"a\n", {"a"}}, {"a\n\n", {"a", ""}},
        {"\n", {""}},   {"x #1\n\ny & z\nlast", {"x #1", "", "y & z", "last"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(BuildMailRequestFromText(kPrefix, text), BuildMailRequest(kPrefix, lines))
            << '"' << text << '"';
}

} // namespace
} // namespace velmaro
