#include "core/order_file.h"

#include "core/errors.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace velmaro {
namespace {

std::vector<std::string> SplitLines(const std::string& file)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(file.substr(start, end - start));
    EXPECT_EQ(start, file.size()) << "the last line lacks its CR LF";
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string file;
    for (const std::string& line : lines)
        file += line + "\r\n";
    return file;
}

SavedOrder FreshOrder()
{
    SavedOrder order;
    order.licenceRows.resize(9);
    order.addressCells.resize(7);
    order.location = 1;
    order.delivery = 0;
    order.payment = 0;
    order.netSum = Money();
    return order;
}

int ParseErrorCode(const std::string& file)
{
    try {
        ParseOrderFile(file);
    } catch (const InOutError& error) {
        return error.code();
    }
    return 0;
}

// Line numbers (0-based) of the items of a file with the window's fresh row counts.
constexpr std::size_t kFreshLicenceCountLine = 0;
constexpr std::size_t kFreshAddressCountLine = 46;
constexpr std::size_t kFreshLocationLine = 54;
constexpr std::size_t kFreshOrderCountLine = 64;

TEST(OrderFileFormat, FreshWindowGivesTheSixtySixLineFile)
{
    std::string expected = "9\r\n";
    for (int i = 0; i < 45; ++i)
        expected += "\r\n";
    expected += "6\r\n";
    for (int i = 0; i < 7; ++i)
        expected += "\r\n";
    expected += "1\r\n0\r\n0\r\n";
    for (int i = 0; i < 7; ++i)
        expected += "\r\n";
    expected += "0\r\n 0.00000000000000E+0000\r\n";

    const std::string file = FormatOrderFile(FreshOrder());
    EXPECT_EQ(file, expected);
    const std::vector<std::string> lines = SplitLines(file);
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[kFreshAddressCountLine], "6");

    // A default-made order lacks the rows and the net sum, and is written the same way.
    SavedOrder bare;
    bare.location = 1;
    bare.delivery = 0;
    bare.payment = 0;
    EXPECT_EQ(FormatOrderFile(bare), expected);
}

TEST(OrderFileFormat, RealNumbers)
{
    const struct {
        std::int64_t units;
        const char* text;
    } cases[] = {
        {0, " 0.00000000000000E+0000"},
        {1530 * Money::kUnitsPerEuro, " 1.53000000000000E+0003"},
        {Money::kUnitsPerEuro / 2, " 5.00000000000000E-0001"},
        {-1234 * Money::kUnitsPerCent, "-1.23400000000000E+0001"},
        {1, " 1.00000000000000E-0008"},
        // 15 significant digits, the dropped part rounded half up.
        {123456789012345678, " 1.23456789012346E+0009"},
        {1000000000000005, " 1.00000000000001E+0007"},
        {1000000000000004, " 1.00000000000000E+0007"},
        {-999999999999999500, "-1.00000000000000E+0010"},
        {std::numeric_limits<std::int64_t>::min(), "-9.22337203685478E+0010"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatReal(Money::fromUnits(c.units)), c.text) << c.units;
        EXPECT_EQ(std::string(c.text).size(), 23u);
    }
}

TEST(OrderFileFormat, ParseRealAcceptsWrittenAndPlainForms)
{
    const struct {
        const char* text;
        std::int64_t units;
    } cases[] = {
        {" 0.00000000000000E+0000", 0},
        {" 1.53000000000000E+0003", 1530 * Money::kUnitsPerEuro},
        {" 5.00000000000000E-0001", Money::kUnitsPerEuro / 2},
        {"-1.23400000000000E+0001", -1234 * Money::kUnitsPerCent},
        {"1530", 1530 * Money::kUnitsPerEuro},
        {" 1.5E+0003", 1500 * Money::kUnitsPerEuro},
        {"+2.5e1\t", 25 * Money::kUnitsPerEuro},
        {"0.00012", 12000},
        {".5", Money::kUnitsPerEuro / 2},
        {"7.", 7 * Money::kUnitsPerEuro},
        {"5E-9", 1}, // half a unit rounds up
        {"-5E-9", -1},
        {"4.9E-9", 0},
        {"1E-400", 0},
        {"0E+99999999999999999999", 0},
        {"92233720368.54775807", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        const std::optional<Money> value = ParseReal(c.text);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(value->units(), c.units) << c.text;
    }
}

TEST(OrderFileFormat, ParseRealRejectsGarbageAndOverflow)
{
    for (const char* text :
         {"", "   ", "abc", "-", ".", "E5", "1E", "1E+", "1.2.3", "1 2", "+-1", "1530 EUR", "0x10",
          "nan", "inf", "1,5", "1E+0011", "92233720368.547758075", "1E+99999999999999999999"}) {
        EXPECT_FALSE(ParseReal(text).has_value()) << '"' << text << '"';
    }
}

TEST(OrderFileRoundTrip, EverythingComesBack)
{
    SavedOrder order;
    order.licenceRowCount = 12;
    for (int r = 1; r <= 12; ++r)
        order.licenceRows.push_back({"Prog" + std::to_string(r), std::to_string(1000 + r), "2.1",
                                     r % 2 ? "" : " padded user ", "x"});
    order.addressRowCount = 6;
    order.addressCells = {
        "Tarnwick Ltd",           "A. Person", "1 Quay Road", "", "Port Ellan", "a@example.org",
        "row past the shown ones"};
    order.location = 2;
    order.delivery = -1;
    order.payment = 1;
    order.texts = {"DE123456789", std::string(5000, '4'), "1234", "5678", "9012",
                   "12/29",       "Holder \xe4\xf6 Name"};
    order.orderLines = {"Purchase Order", "", "  indented  ", "1 x Thing : 1,530.00 EUR", "-"};
    order.netSum = Money::fromCents(153012);

    const std::string file = FormatOrderFile(order);
    const std::vector<std::string> lines = SplitLines(file);
    // 5R + A + N + 15 lines, with R = 12 written as such and followed by its 60 cell lines.
    EXPECT_EQ(lines.size(), 5u * 12 + 6 + 5 + 15);
    EXPECT_EQ(lines[kFreshLicenceCountLine], "12");
    EXPECT_EQ(lines[61], "6");
    EXPECT_EQ(lines[60], "x");

    EXPECT_EQ(ParseOrderFile(file), order);
}

TEST(OrderFileRoundTrip, LineBreaksInsideTextsAreWrittenAsBlanks)
{
    SavedOrder order = FreshOrder();
    order.licenceRows[0][0] = "two\r\nlines";
    order.addressCells[1] = "cr\ronly";
    order.texts[6] = "lf\nonly";
    order.orderLines = {"a\r\nb"};

    const std::string file = FormatOrderFile(order);
    EXPECT_EQ(SplitLines(file).size(), 67u);

    const SavedOrder parsed = ParseOrderFile(file);
    EXPECT_EQ(parsed.licenceRows[0][0], "two  lines");
    EXPECT_EQ(parsed.addressCells[1], "cr only");
    EXPECT_EQ(parsed.texts[6], "lf only");
    EXPECT_EQ(parsed.orderLines, std::vector<std::string>{"a  b"});
    EXPECT_EQ(parsed.netSum, Money());
}

TEST(OrderFileRoundTrip, AFileTheReaderWouldRefuseIsNotMade)
{
    SavedOrder order = FreshOrder();
    order.orderLines.assign(2, std::string(kMaxOrderFileBytes / 2, 'x'));
    EXPECT_THROW(FormatOrderFile(order), OrderError);
}

TEST(OrderFileParse, CountsThatAreNotWholeNumbersGive106)
{
    const std::vector<std::string> fresh = SplitLines(FormatOrderFile(FreshOrder()));
    const struct {
        std::size_t line;
        const char* text;
    } cases[] = {
        {kFreshLicenceCountLine, "abc"},
        {kFreshLicenceCountLine, "12junk"},
        {kFreshLicenceCountLine, "1.5"},
        {kFreshLicenceCountLine, "-"},
        {kFreshAddressCountLine, "0x10"},
        {kFreshLocationLine, "abc"},
        {kFreshLocationLine, "2147483648"},
        {kFreshLocationLine, "-2147483649"},
        {kFreshLocationLine, "99999999999999999999999"},
        {kFreshOrderCountLine, "\xff"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = fresh;
        lines[c.line] = c.text;
        EXPECT_EQ(ParseErrorCode(JoinLines(lines)), 106) << c.line << ": " << c.text;
    }

    std::vector<std::string> lines = fresh;
    lines[kFreshLocationLine] = "-2147483648";
    EXPECT_EQ(ParseOrderFile(JoinLines(lines)).location, std::numeric_limits<int>::min());
}

TEST(OrderFileParse, HostileCountsAreRejected)
{
    // Each would ask for far more rows or lines than the file holds.
    EXPECT_EQ(ParseErrorCode("10001\r\n"), 106);
    EXPECT_EQ(ParseErrorCode("2147483647\r\n"), 106);
    EXPECT_EQ(ParseErrorCode("1\r\n\r\n\r\n\r\n\r\n\r\n10001\r\n"), 106);

    std::vector<std::string> lines = SplitLines(FormatOrderFile(FreshOrder()));
    lines[kFreshOrderCountLine] = "1000001";
    EXPECT_EQ(ParseErrorCode(JoinLines(lines)), 106);

    // The limits themselves are accepted; what the file lacks reads empty.
    EXPECT_EQ(ParseOrderFile("10000\r\n").licenceRows.size(), 10000u);
    lines[kFreshOrderCountLine] = "1000000";
    const SavedOrder big = ParseOrderFile(JoinLines(lines));
    // The limit itself is accepted; the text ends with the file, after the one line left.
    EXPECT_EQ(big.orderLines, std::vector<std::string>{" 0.00000000000000E+0000"});
    EXPECT_EQ(big.netSum, std::nullopt);
}

TEST(OrderFileParse, TruncatedFileReadsZerosAndEmptyTexts)
{
    for (const char* text : {"", "0\r\n", "-4\r\n"}) {
        const SavedOrder order = ParseOrderFile(text);
        EXPECT_EQ(order.licenceRowCount, 1) << '"' << text << '"';
        ASSERT_EQ(order.licenceRows.size(), 1u);
        EXPECT_EQ(order.licenceRows[0][4], "");
        EXPECT_EQ(order.addressRowCount, 1);
        EXPECT_EQ(order.addressCells.size(), 2u);
        EXPECT_EQ(order.location, 0);
        EXPECT_EQ(order.delivery, 0);
        EXPECT_EQ(order.payment, 0);
        EXPECT_EQ(order.texts[0], "");
        EXPECT_TRUE(order.orderLines.empty());
        EXPECT_EQ(order.netSum, std::nullopt);
    }

    // Cut inside the order text: the lines that are there, and no empty ones made up for the
    // rest, however many the count claims.
    std::vector<std::string> lines = SplitLines(FormatOrderFile(FreshOrder()));
    lines.resize(kFreshOrderCountLine);
    lines.push_back("3");
    lines.push_back("first");
    std::string file = JoinLines(lines);
    file.pop_back(); // no LF after the last CR
    const SavedOrder order = ParseOrderFile(file);
    EXPECT_EQ(order.orderLines, (std::vector<std::string>{"first"}));
    EXPECT_EQ(order.location, 1);
    lines.pop_back();
    lines.back() = "999999";
    EXPECT_TRUE(ParseOrderFile(JoinLines(lines)).orderLines.empty());
}

TEST(OrderFileParse, CountsSkipBlankLinesAndTrailingJunk)
{
    // Blank lines, blanks and tabs before a count are skipped, as is the rest of its line.
    SavedOrder order = ParseOrderFile("\r\n\r\n \t12 junk\r\nfirst cell\r\n");
    EXPECT_EQ(order.licenceRowCount, 12);
    EXPECT_EQ(order.licenceRows.size(), 12u);
    EXPECT_EQ(order.licenceRows[0][0], "first cell");

    std::vector<std::string> lines = SplitLines(FormatOrderFile(FreshOrder()));
    lines[kFreshLocationLine] = "\r\n  2\tignored";
    lines[kFreshOrderCountLine] = "-3";
    order = ParseOrderFile(JoinLines(lines));
    EXPECT_EQ(order.location, 2);
    EXPECT_EQ(order.delivery, 0);
    EXPECT_TRUE(order.orderLines.empty());
    EXPECT_EQ(order.netSum, Money());

    // Line ends of a file edited elsewhere: a lone LF after a count ends its line too.
    order = ParseOrderFile("2\nA\r\n");
    EXPECT_EQ(order.licenceRowCount, 2);
    EXPECT_EQ(order.licenceRows[0][0], "A");
}

TEST(OrderFileParse, MissingOrDamagedNetSumKeepsTheRest)
{
    SavedOrder order = FreshOrder();
    order.orderLines = {"line one", "line two"};
    order.netSum = Money::fromEuros(1530);
    std::vector<std::string> lines = SplitLines(FormatOrderFile(order));
    ASSERT_EQ(lines.back(), " 1.53000000000000E+0003");

    SavedOrder expected = order;
    expected.netSum = std::nullopt;
    // Out of 0 to 1,000,000,000.00 counts as damaged too.
    for (const char* last : {"", "garbage", "1.53E+0003x", "-1E-0002", " 8.00000000000000E+0010",
                             "1000000000.01", "-9.2E+0010"}) {
        lines.back() = last;
        EXPECT_EQ(ParseOrderFile(JoinLines(lines)), expected) << '"' << last << '"';
    }
    lines.back() = "1E+0009";
    EXPECT_EQ(ParseOrderFile(JoinLines(lines)).netSum, kMaxNetSum);
    lines.pop_back();
    EXPECT_EQ(ParseOrderFile(JoinLines(lines)), expected);
}

TEST(OrderFileParse, EveryPrefixOfAFileParsesOrGives106)
{
    SavedOrder order = FreshOrder();
    order.location = -1;
    order.licenceRows[8] = {"a", "-12", "b", "c", "d"};
    order.orderLines = {"x", "y"};
    order.netSum = Money::fromCents(5);
    const std::string file = FormatOrderFile(order);
    for (std::size_t n = 0; n <= file.size(); ++n) {
        const int code = ParseErrorCode(file.substr(0, n));
        EXPECT_TRUE(code == 0 || code == 106) << n;
    }
    EXPECT_EQ(ParseOrderFile(file), order);
}

} // namespace
} // namespace velmaro
