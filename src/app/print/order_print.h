#pragma once

#include "print/payment_code_picture.h"

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class QLocale;
class QPagedPaintDevice;

// The printed order and its PDF share one layout: the order text line for line in a plain 10 pt
// font within 20 mm margins, long lines wrapped, "Page N of M" centred in every page's footer.
// The page layout below is plain code over a width measure, so it needs neither a printer nor a
// font to be checked.

inline constexpr qreal kPrintPointSize = 10;
inline constexpr qreal kPrintMarginMm = 20;

// The width of a piece of text in the units of the line width.
using TextMeasure = std::function<qreal(QStringView)>;

// One line of the text as printed lines no wider than `width`. Lines break at blanks; the
// blanks at a break are dropped, indentation at the start of the line is kept. A word wider
// than a whole line is broken between characters as the last resort (never inside a
// character). An empty line stays one empty printed line.
QStringList WrapLine(const QString& line, qreal width, const TextMeasure& measure);

// The text's lines wrapped and cut into pages of `linesPerPage` printed lines. There is always
// at least one page, an empty one for an empty text.
QList<QStringList> LayOutPages(const QStringList& lines, qreal width, int linesPerPage,
                               const TextMeasure& measure);

// How many printed lines of `lineSpacing` a page area of `height` holds: all rows but the last,
// which takes the footer, and the one above it, which stays empty.
int PrintedLinesPerPage(qreal height, qreal lineSpacing);

// "Page 2 of 7".
QString PageFooter(int page, int pageCount);

// Letter where the locale's country prints on it, A4 everywhere else.
QPageSize::PageSizeId PageSizeForLocale(const QLocale& locale);

// The payment code below the order text's last line, its caption under it; none when the
// symbol is null. The symbol without its quiet zone is at least kPrintCodeMinMm square, which a
// phone reads from arm's length.
struct PrintedPaymentCode {
    PaymentCodeSymbol symbol;
    QString caption;
};
inline constexpr qreal kPrintCodeMinMm = 35;

// Sets the margins and paints the lines, and the payment code after them (on a page of its own
// when the last page has no room left for it), on the device's pages, honouring the page ranges
// the device was given; ranges wholly past the last page paint nothing. False when no painter
// could be started on the device.
bool PaintOrder(QPagedPaintDevice& device, const QStringList& lines, const QFont& font,
                const PrintedPaymentCode& code = {});

// The order as a PDF document; empty when it could not be made.
QByteArray OrderPdf(const QStringList& lines, const QFont& font, const QString& title,
                    QPageSize::PageSizeId pageSize, const PrintedPaymentCode& code = {});
