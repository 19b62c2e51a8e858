#include "print/order_print.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBoundaryFinder>

#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A tab becomes the blanks up to the next multiple of eight columns, as in a plain text editor:
// measuring and drawing then agree, whatever the font makes of a tab character.
QString expandTabs(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return line;
    QString expanded;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t'))
            expanded += QString(8 - expanded.size() % 8, QLatin1Char(' '));
        else
            expanded += c;
    }
    return expanded;
}

// Breaks a word too wide for any line between its characters, each printed line as full as it
// goes; the last piece is left in `rest` for the words that follow it.
void breakWord(const QString& word, qreal width, const TextMeasure& measure, QStringList& out,
               QString& rest, qreal& restWidth)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
    qsizetype start = 0;
    qsizetype pieceStart = 0;
    qreal pieceWidth = 0;
    for (qsizetype end = graphemes.toNextBoundary(); end != -1; end = graphemes.toNextBoundary()) {
        const qreal w = measure(QStringView(word).mid(start, end - start));
        if (pieceWidth + w > width && start > pieceStart) {
            out << word.mid(pieceStart, start - pieceStart);
            pieceStart = start;
            pieceWidth = 0;
        }
        pieceWidth += w;
        start = end;
    }
    rest = word.mid(pieceStart);
    restWidth = pieceWidth;
}

} // namespace

QStringList WrapLine(const QString& line, qreal width, const TextMeasure& measure)
{
    if (line.isEmpty() || measure(line) <= width)
        return {line};

    // Widths are summed word by word, so a long line costs no more than its length.
    QStringList out;
    QString current;
    qreal currentWidth = 0;
    bool currentIsIndent = false; // `current` holds only the line's leading blanks
    QString gap;                  // blanks waiting between `current` and the next word
    qreal gapWidth = 0;
    qsizetype pos = 0;
    while (pos < line.size()) {
        qsizetype end = pos;
        const bool blank = isBlank(line[pos]);
        while (end < line.size() && isBlank(line[end]) == blank)
            ++end;
        const QString token = line.mid(pos, end - pos);
        pos = end;

        if (blank) {
            if (out.isEmpty() && current.isEmpty()) {
                current = token;
                currentWidth = measure(token);
                currentIsIndent = true;
            } else if (!current.isEmpty()) {
                gap = token;
                gapWidth = measure(token);
            }
            continue;
        }

        const qreal wordWidth = measure(token);
        if (currentWidth + gapWidth + wordWidth <= width) {
            current += gap + token;
            currentWidth += gapWidth + wordWidth;
            currentIsIndent = false;
        } else {
            if (!current.isEmpty() && !currentIsIndent)
                out << current;
            current.clear();
            currentWidth = 0;
            currentIsIndent = false;
            if (wordWidth <= width) {
                current = token;
                currentWidth = wordWidth;
            } else {
                breakWord(token, width, measure, out, current, currentWidth);
            }
        }
        gap.clear();
        gapWidth = 0;
    }
    if (!current.isEmpty() || out.isEmpty())
        out << current;
    return out;
}

QList<QStringList> LayOutPages(const QStringList& lines, qreal width, int linesPerPage,
                               const TextMeasure& measure)
{
    linesPerPage = qMax(1, linesPerPage);
    QList<QStringList> pages(1);
    for (const QString& line : lines) {
        for (const QString& printed : WrapLine(expandTabs(line), width, measure)) {
            if (pages.last().size() == linesPerPage)
                pages.append(QStringList());
            pages.last() << printed;
        }
    }
    return pages;
}

int PrintedLinesPerPage(qreal height, qreal lineSpacing)
{
    return static_cast<int>(std::floor(height / lineSpacing)) - 2;
}

QString PageFooter(int page, int pageCount)
{
    return QStringLiteral("Page %1 of %2").arg(page).arg(pageCount);
}

QPageSize::PageSizeId PageSizeForLocale(const QLocale& locale)
{
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::Philippines:
    case QLocale::PuertoRico:
    case QLocale::Guatemala:
    case QLocale::CostaRica:
    case QLocale::Panama:
    case QLocale::DominicanRepublic:
    case QLocale::ElSalvador:
    case QLocale::Nicaragua:
        return QPageSize::Letter;
    default:
        return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                       : QPageSize::A4;
    }
}

bool PaintOrder(QPagedPaintDevice& device, const QStringList& lines, const QFont& font,
                const PrintedPaymentCode& code)
{
    // A printer whose least margins are wider keeps its own.
    device.setPageMargins(QMarginsF(kPrintMarginMm, kPrintMarginMm, kPrintMarginMm, kPrintMarginMm),
                          QPageLayout::Millimeter);
    const QFontMetricsF metrics(font, &device);

    // The painter's origin is the corner of the area within the margins; the footer takes the
    // last line of it.
    const qreal width = device.width();
    const qreal height = device.height();
    const qreal lineSpacing = metrics.lineSpacing();
    const int linesPerPage = PrintedLinesPerPage(height, lineSpacing);
    const TextMeasure measure = [&metrics](QStringView text) {
        return metrics.horizontalAdvance(text.toString());
    };
    const QList<QStringList> pages = LayOutPages(lines, width, linesPerPage, measure);
    int pageCount = static_cast<int>(pages.size());

    // The code follows an empty line after the text, the caption follows the code; where the
    // last page has no room left for all of it, it opens a page of its own.
    qreal moduleSize = 0;
    QStringList caption;
    int codePage = 0;
    qreal codeTop = 0;
    if (!code.symbol.isNull()) {
        const qreal minSide = kPrintCodeMinMm / 25.4 * device.logicalDpiY();
        moduleSize = std::ceil(minSide / code.symbol.size());
        caption = WrapLine(code.caption, width, measure);
        const qreal blockHeight =
            code.symbol.sideWithQuietZone() * moduleSize + (caption.size() + 1) * lineSpacing;
        codePage = pageCount;
        codeTop = pages.last().isEmpty() ? 0 : (pages.last().size() + 1) * lineSpacing;
        if (codeTop > 0 && codeTop + blockHeight > linesPerPage * lineSpacing) {
            codePage = ++pageCount;
            codeTop = 0;
        }
    }

    // Pages asked for past the end print nothing, rather than a blank sheet.
    const QPageRanges ranges = device.pageRanges();
    if (!ranges.isEmpty() && ranges.firstPage() > pageCount)
        return true;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(font);
    const auto drawLines = [&](qreal top, const QStringList& block) {
        for (int i = 0; i < block.size(); ++i)
            painter.drawText(QPointF(0, top + i * lineSpacing + metrics.ascent()), block[i]);
    };
    bool first = true;
    for (int page = 1; page <= pageCount; ++page) {
        if (!ranges.isEmpty() && !ranges.contains(page))
            continue;
        if (!first && !device.newPage())
            break;
        first = false;
        if (page <= pages.size())
            drawLines(0, pages[page - 1]);
        if (page == codePage) {
            code.symbol.paint(painter, QPointF(0, codeTop), moduleSize);
            drawLines(codeTop + code.symbol.sideWithQuietZone() * moduleSize, caption);
        }
        const QString footer = PageFooter(page, pageCount);
        painter.drawText(
            QPointF((width - metrics.horizontalAdvance(footer)) / 2, height - metrics.descent()),
            footer);
    }
    return painter.end();
}

QByteArray OrderPdf(const QStringList& lines, const QFont& font, const QString& title,
                    QPageSize::PageSizeId pageSize, const PrintedPaymentCode& code)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QGuiApplication::applicationName());
        writer.setPageSize(QPageSize(pageSize));
        if (!PaintOrder(writer, lines, font, code))
            return {};
    }
    return buffer.data();
}
