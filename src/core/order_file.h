#pragma once

#include "core/money.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// Counts above these are taken for a damaged or hostile file and rejected before anything is
// allocated for them; no order the window can hold comes near.
inline constexpr int kMaxTableRows = 10000;
inline constexpr int kMaxOrderLines = 1000000;

// A file larger than this is refused unread. The counts allow about 1.06 million lines
// (10,000 licence rows of 5 cells, 10,001 address cells, a million order lines, 15 more); this
// bound leaves them 126 bytes each on average, well above the item lines this program writes,
// while a load at the bound peaks below 1.2 GiB, the controls included (a million lines of
// ASCII take 0.85 GiB; a million lines of euro signs written on Windows, or one 128 MiB text in a
// single field, take the most).
inline constexpr std::int64_t kMaxOrderFileBytes = std::int64_t{128} * 1024 * 1024;

inline constexpr int kLicenceColumns = 5;
inline constexpr int kOrderFileTexts = 7;

// What the saved order file holds, as plain values. The window fills it from its controls
// before writing and applies it to them after a complete parse.
struct SavedOrder {
    // R: the licence table's row count, header row included. The data rows are 1..R, so the
    // last of them lies one past the last shown row and travels with the file all the same.
    int licenceRowCount = 9;
    // Data rows 1..R, columns 1..5 (size R).
    std::vector<std::array<std::string, kLicenceColumns>> licenceRows;
    // A: the address table's row count.
    int addressRowCount = 6;
    // Column 1 of rows 0..A (size A + 1).
    std::vector<std::string> addressCells;
    // List indexes, -1 for no selection.
    int location = -1;
    int delivery = -1;
    int payment = -1;
    // VAT number, card number groups 1 to 4, card expiry, card holder.
    std::array<std::string, kOrderFileTexts> texts;
    // The order text's lines, without the empty remainder after a final line break.
    std::vector<std::string> orderLines;
    // Absent when the file's last item is missing or damaged; written as 0 when absent.
    std::optional<Money> netSum;

    bool operator==(const SavedOrder&) const = default;
};

// Throws OrderError, naming the part, when the order holds more rows or lines than
// ParseOrderFile takes back.
void CheckOrderFileLimits(const SavedOrder& order);

// The whole file, every line ended by CR LF; first checks the limits as above, and throws
// OrderError for a file larger than kMaxOrderFileBytes, so that no file is written that could
// not be read back. A row count below 1 is written as 1 (the count
// the parser would make of it). Rows and address cells missing from the vectors are written
// empty, extra ones are left out, so the line structure always matches the counts; CR and LF
// inside a text are written as blanks, since they would shift every item that follows.
std::string FormatOrderFile(const SavedOrder& order);

// Shown after a load that found no readable net sum: the rest of the order came back, but a
// total made now would leave out the items already in the order text.
inline constexpr std::string_view kNetSumUnreadMessage =
    "The saved order ends early and may be incomplete. Its net sum could not be read, so totals "
    "will count only the items added from now on.";

// Parses a whole file. Throws InOutError(106) for a count or index that is not a whole 32-bit
// number and for a row or line count above its limit; nothing partial is returned. A file that
// ends early is no error: missing counts and indexes read as 0, missing texts as empty, a row
// count below 1 as 1, and a missing or damaged net sum, one without its line end, or one outside
// 0 to kMaxNetSum, as nullopt. A line ends at CR LF, a lone CR or a lone LF.
SavedOrder ParseOrderFile(std::string_view text);

// Strictly valid UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The file's bytes as text where the system code page is UTF-8, without a leading byte-order
// mark: unchanged when they are valid UTF-8. Otherwise each line that is no valid UTF-8 is taken
// for one written on Windows, so that every byte comes back as the character it was written as
// instead of being lost to U+FFFD, and the lines that are valid UTF-8 stay as they are. The five
// bytes that Windows-1252 leaves undefined become the control characters of the same value.
std::string Utf8OrWindows1252(std::string bytes);

// The 23-character real number: " " or "-", one digit, ".", 14 digits, "E", the exponent's
// sign and 4 digits; rounded to 15 significant digits, half away from zero.
std::string FormatReal(Money amount);

// A decimal real number such as FormatReal writes, or a plainer form ("1530", "-0.5",
// " 1.5E+0003"), with blanks around it allowed; rounded half away from zero to the money unit.
// nullopt for anything else and for a value out of Money's range.
std::optional<Money> ParseReal(std::string_view text);

} // namespace velmaro
