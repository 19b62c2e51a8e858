#pragma once

#include "core/order_file.h"

#include <string>
#include <string_view>

namespace velmaro {

// Everything the order window holds, kept while the customer works so that an order survives a
// crash, a kill or the end of the session: the saved order plus what order.qzo leaves out.
struct RecoveryCopy {
    // Both tables, location, delivery, the texts, the order text and the net sum. Unlike
    // order.qzo, the payment index here is the one shown.
    SavedOrder order;
    // The selection row: list indexes (-1 for no selection) and the two typed fields.
    int paket = -1;
    int programm = -1;
    int updateneu = -1;
    int lizenztyp = -1;
    int language = -1;
    std::string anzahl;
    std::string lizno;
    bool myLicences = false;
    bool mailed = false;
    // Whether the order text ends with a line break; the lines alone cannot tell.
    bool orderTextEndsWithBreak = true;

    bool operator==(const RecoveryCopy&) const = default;
};

// The copy as bytes: a header line naming the kind of file and its format, the length of the
// rest, the extra items, then the order file's own lines. UTF-8, lines ending CR LF.
std::string FormatRecoveryCopy(const RecoveryCopy& copy);

// Throws InOutError(106) for anything FormatRecoveryCopy did not write whole: another kind of
// file, a copy cut short or grown, or an item that is not what it should be.
RecoveryCopy ParseRecoveryCopy(std::string_view bytes);

} // namespace velmaro
