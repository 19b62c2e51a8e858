#include "controls/line_breaks.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

// CR LF is one line break: its CR is left to the LF that follows.
bool isCrBeforeLf(const QString& text, qsizetype i)
{
    return text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
}

// True when a line feed is the only kind of line break the text may hold.
bool onlyPlainLineFeeds(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
}

// The field begins a new undo step whenever its cursor moves; a move there and back, with the
// selection put back as it was, closes the step that typing has open.
void closeUndoStep(QLineEdit* field)
{
    if (field->text().isEmpty())
        return;
    const int cursor = field->cursorPosition();
    const int start = field->selectionStart();
    const int length = int(field->selectedText().size());
    field->setCursorPosition(cursor > 0 ? cursor - 1 : cursor + 1);
    if (length == 0)
        field->setCursorPosition(cursor);
    else if (cursor == start)
        field->setSelection(start + length, -length);
    else
        field->setSelection(start, length);
}

// The field's own handling of a text it inserts runs when the text has no line break; the
// guard steps in only where the text would change.
class OneLineFilter : public QObject {
public:
    explicit OneLineFilter(QLineEdit* field) : QObject(field), field_(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool insert(QClipboard::Mode mode);
    bool typed(const QString& text);
    bool compose(QInputMethodEvent* event);
    bool drop(QDropEvent* event);
    void showMenu(QContextMenuEvent* event);

    QLineEdit* field_;
};

bool OneLineFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != field_ || field_->isReadOnly())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+V, Shift+Insert and whatever else the platform binds to Paste.
        if ((key->matches(QKeySequence::Paste) && insert(QClipboard::Clipboard)) ||
            typed(key->text())) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::InputMethod:
        return compose(static_cast<QInputMethodEvent*>(event));
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            field_->deselect();
            return insert(QClipboard::Selection);
        }
        return false;
    case QEvent::Drop:
        return drop(static_cast<QDropEvent*>(event));
    case QEvent::ContextMenu:
        showMenu(static_cast<QContextMenuEvent*>(event));
        return true;
    default:
        return false;
    }
}

bool OneLineFilter::insert(QClipboard::Mode mode)
{
    const QString text = QGuiApplication::clipboard()->text(mode);
    const QString kept = OnOneLine(text);
    if (kept == text)
        return false;
    // An undo step of its own, as the field's own paste: not merged with the typing before or
    // after it.
    closeUndoStep(field_);
    field_->insert(kept);
    closeUndoStep(field_);
    return true;
}

bool OneLineFilter::typed(const QString& text)
{
    // A keyboard layout or a typing tool may send a line or paragraph separator as a key's
    // text, which the field would take as it is; Enter's own text never reaches it as text.
    // Typed between two words, the break reads as the blank between them.
    if (!text.contains(QChar::LineSeparator) && !text.contains(QChar::ParagraphSeparator))
        return false;
    QString kept = text;
    for (QChar& c : kept)
        if (isLineBreak(c))
            c = QLatin1Char(' ');
    field_->insert(kept);
    return true;
}

bool OneLineFilter::compose(QInputMethodEvent* event)
{
    const QString kept = OnOneLine(event->commitString());
    if (kept == event->commitString())
        return false;
    QInputMethodEvent cleaned(event->preeditString(), event->attributes());
    cleaned.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QCoreApplication::sendEvent(field_, &cleaned);
    event->setAccepted(cleaned.isAccepted());
    return true;
}

bool OneLineFilter::drop(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasText())
        return false;
    const QString kept = OnOneLine(data->text());
    if (kept == data->text())
        return false;
    // The field places the text where it was dropped and removes it from its old place on a
    // move within the field; it gets the same drop with the text kept on one line.
    QMimeData cleaned;
    cleaned.setText(kept);
    QDropEvent copy(event->position(), event->possibleActions(), &cleaned, event->buttons(),
                    event->modifiers());
    copy.setDropAction(event->dropAction());
    QCoreApplication::sendEvent(field_, &copy);
    event->setDropAction(copy.dropAction());
    event->setAccepted(copy.isAccepted());
    return true;
}

void OneLineFilter::showMenu(QContextMenuEvent* event)
{
    // The field's own menu, with its Paste going through the same rule.
    QMenu* menu = field_->createStandardContextMenu();
    // The field names its Paste entry by its own translated caption, followed by the key.
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteCaption)
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, field_, [this] {
            if (!insert(QClipboard::Clipboard))
                field_->paste();
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

} // namespace

QString WithPlainLineBreaks(const QString& text)
{
    // Most texts have nothing to change and are passed on without a copy.
    if (onlyPlainLineFeeds(text))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isCrBeforeLf(text, i))
            continue;
        result += isLineBreak(text[i]) ? QChar(QLatin1Char('\n')) : text[i];
    }
    return result;
}

QString OnOneLine(const QString& text)
{
    if (onlyPlainLineFeeds(text) && !text.contains(QLatin1Char('\n')))
        return text;
    QString result;
    result.reserve(text.size());
    // Breaks become blanks only once a later character shows that they stood inside the text.
    qsizetype pendingBlanks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isCrBeforeLf(text, i))
            continue;
        if (isLineBreak(text[i])) {
            ++pendingBlanks;
            continue;
        }
        if (pendingBlanks > 0)
            result += QString(pendingBlanks, QLatin1Char(' '));
        pendingBlanks = 0;
        result += text[i];
    }
    return result;
}

void KeepOnOneLine(QLineEdit* field)
{
    static const char* const kGuarded = "velmaroKeptOnOneLine";
    if (field->property(kGuarded).toBool())
        return;
    field->setProperty(kGuarded, true);
    field->installEventFilter(new OneLineFilter(field));
}
