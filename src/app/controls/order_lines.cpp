#include "controls/order_lines.h"

#include "controls/line_breaks.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

OrderLines::OrderLines(QPlainTextEdit* memo) : memo_(memo) {}

int OrderLines::count() const
{
    const QTextDocument* doc = memo_->document();
    const int blocks = doc->blockCount();
    // The last block is the empty remainder after a final line break (or the empty document).
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString OrderLines::line(int index) const
{
    return memo_->document()->findBlockByNumber(index).text();
}

QStringList OrderLines::all() const
{
    QStringList lines = plainText().split(QLatin1Char('\n'));
    // The empty remainder after a final line break (or of the empty text) is no line.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::vector<std::string> OrderLines::allUtf8() const
{
    // One conversion of the whole text is much cheaper than one per line.
    const std::string text = plainText().toStdString();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count()));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

QString OrderLines::plainText() const
{
    // The raw text keeps every character as typed (the plain text would turn a no-break space
    // into a blank); only its line breaks become line feeds. The memo turns every line separator
    // into a paragraph break as it comes in, but a line separator that got in all the same is
    // still read as the line break that the customer sees.
    QString text = memo_->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return text;
}

bool OrderLines::endsWithLineBreak() const
{
    const QTextDocument* doc = memo_->document();
    return doc->blockCount() > 1 && doc->lastBlock().length() <= 1;
}

void OrderLines::append(const QString& line)
{
    QString text;
    if (count() > 0 && !endsWithLineBreak())
        text += QLatin1Char('\n');
    text += line;
    text += QLatin1Char('\n');
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(WithPlainLineBreaks(text));
}

void OrderLines::append(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    QString text;
    if (count() > 0 && !endsWithLineBreak())
        text += QLatin1Char('\n');
    for (const std::string& line : lines) {
        text += QString::fromStdString(line);
        text += QLatin1Char('\n');
    }
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(WithPlainLineBreaks(text));
}

void OrderLines::clear()
{
    memo_->clear();
}

void OrderLines::setLines(const std::vector<std::string>& lines)
{
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line);
        text += QLatin1Char('\n');
    }
    memo_->setPlainText(WithPlainLineBreaks(text));
}
