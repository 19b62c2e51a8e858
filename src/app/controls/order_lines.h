#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QPlainTextEdit;

// The order text as a list of lines, over the memo that shows it. Appending a line leaves the
// text ending in a line break, and the line count leaves out the empty remainder after a final
// line break. Appending works at the end of the document and never re-reads the whole text, so
// an order of many thousand lines stays quick.
class OrderLines {
public:
    explicit OrderLines(QPlainTextEdit* memo);

    int count() const;
    QString line(int index) const;
    QStringList all() const;
    std::vector<std::string> allUtf8() const;
    // The whole text exactly as the control holds it, "\n" between lines and after the last
    // one when the text ends with a line break.
    QString plainText() const;
    bool endsWithLineBreak() const;

    void append(const QString& line);
    void append(const std::vector<std::string>& lines);
    void clear();
    // Replaces the whole text by these lines, each followed by a line break.
    void setLines(const std::vector<std::string>& lines);

private:
    QPlainTextEdit* memo_;
};

// Conversions between the window's texts and the core's UTF-8 strings.
inline std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

inline QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}
