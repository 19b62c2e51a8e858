#include "controls/input_controls.h"

#include "controls/control_accessibility.h"
#include "controls/line_breaks.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>

#include <algorithm>

namespace {

// More digits than this are no licence count but a slip of the finger; the limit also keeps
// the price of a number being typed far inside what an amount can hold.
constexpr qsizetype kMaxDigits = 6;

} // namespace

NumberField::NumberField(QWidget* parent) : QSpinBox(parent)
{
    setLocale(QLocale::c());
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &NumberField::reportChange);
    connect(this, &QSpinBox::valueChanged, this, &NumberField::reportChange);
    reported_ = text();
}

QValidator::State NumberField::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    // Digits of any script count; the field shows them as Western digits.
    for (QChar& c : input)
        if (c.unicode() > 127 && c.isDigit())
            c = QLatin1Char(char('0' + c.digitValue()));
    // A plus sign may lead, as the spin box allows; a minus sign may not, as the range starts
    // above zero.
    const QStringView digits = QStringView(input).mid(input.startsWith(QLatin1Char('+')) ? 1 : 0);
    if (digits.isEmpty())
        return QValidator::Intermediate;
    const bool onlyDigits = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!onlyDigits || digits.size() > kMaxDigits)
        return QValidator::Invalid;
    const int number = digits.toInt();
    return number >= minimum() && number <= maximum() ? QValidator::Acceptable
                                                      : QValidator::Intermediate;
}

void NumberField::fixup(QString& input) const
{
    bool ok = false;
    const int number = input.toInt(&ok);
    input = QString::number(ok ? std::clamp(number, minimum(), maximum()) : minimum());
}

bool NumberField::event(QEvent* event)
{
    // The correction on leaving (and on the arrows after an out-of-range text) may rewrite the
    // text without any signal; whatever event caused it, it is reported here.
    const bool handled = QSpinBox::event(event);
    reportChange();
    return handled;
}

void NumberField::reportChange()
{
    const QString now = text();
    if (now == reported_)
        return;
    reported_ = now;
    emit numberChanged();
}

OrderMemo::OrderMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void OrderMemo::keyPressEvent(QKeyEvent* event)
{
    // Shift+Enter would insert a Unicode line separator: a line on screen that is no line of
    // the text. It starts a new line like Enter.
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        QKeyEvent enter(event->type(), event->key(),
                        event->modifiers() & ~(Qt::ShiftModifier | Qt::MetaModifier), event->text(),
                        event->isAutoRepeat(), event->count());
        QPlainTextEdit::keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
    // A keyboard layout or a typing tool may send a line or paragraph separator as the key's
    // text, which the memo would insert as it is.
    const QString text = event->text();
    if (!isReadOnly() &&
        (text.contains(QChar::LineSeparator) || text.contains(QChar::ParagraphSeparator))) {
        insertPlainText(WithPlainLineBreaks(text));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void OrderMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = WithPlainLineBreaks(event->commitString());
    if (commit == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent plain(event->preeditString(), event->attributes());
    plain.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&plain);
    event->setAccepted(plain.isAccepted());
}

void OrderMemo::insertFromMimeData(const QMimeData* source)
{
    if (source == nullptr || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Only the plain text is taken, as from any source: the order text has no formatting.
    QMimeData plain;
    plain.setText(WithPlainLineBreaks(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

QMimeData* OrderMemo::createMimeDataFromSelection() const
{
    // The text as typed, as plain text only: a rich form would bring the memo's font into a mail
    // composer, and the plain text of a document fragment turns a no-break space into a blank.
    auto* data = new QMimeData;
    data->setText(WithPlainLineBreaks(textCursor().selectedText()));
    return data;
}

AreaCheckBox::AreaCheckBox(QWidget* parent) : QCheckBox(parent)
{
    InstallControlAccessibility();
}
