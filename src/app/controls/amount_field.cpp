#include "controls/amount_field.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

// Room kept free between a widened field and its neighbour on the left.
constexpr int kGap = 4;
// The text shrinks in steps down to this share of the design size at most; the widening comes
// first, so only amounts far above any real order get that small.
constexpr qreal kSmallestShare = 0.6;
constexpr int kSteps = 16;

// The horizontal space around the text of a line edit: frame, text margins, the edit's own
// margin of 2 pixels a side, and the pixel it keeps after the text for the cursor. Without that
// pixel a text of exactly the room is scrolled by it, and the first digit is cut.
int overhead(const QLineEdit* field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    const QRect contents =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    return field->width() - contents.width() + margins.left() + margins.right() + 2 * 2 + 1;
}

int textWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

// The leftmost x the field may widen to: short of the nearest sibling on its left that shares
// its height band. Hidden siblings count too, as they may be shown while the amount stays.
int leftLimit(const QLineEdit* field, const QRect& design)
{
    int limit = design.left();
    if (!field->parentWidget())
        return limit;
    int nearest = 0;
    for (const QWidget* sibling :
         field->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect r = sibling->geometry();
        if (sibling == field || sibling->isWindow() || r.right() >= design.left())
            continue;
        if (r.bottom() < design.top() || r.top() > design.bottom())
            continue;
        nearest = std::max(nearest, r.right() + 1 + kGap);
    }
    return std::min(limit, nearest);
}

class AmountFit {
public:
    explicit AmountFit(QLineEdit* field) : field_(field), design_(field->geometry()) {}

    void operator()() const
    {
        const QString text = field_->text();
        field_->setToolTip(text);
        field_->setAccessibleDescription(text);

        // Start from the design: the window's font and the field's own place.
        field_->setFont(QFont());
        const QFont font = field_->font();
        QRect r = design_;
        r.setLeft(std::min(r.left(), r.right() + 1 - textWidth(font, text) - overhead(field_)));
        r.setLeft(std::max(r.left(), leftLimit(field_, design_)));
        field_->setGeometry(r);

        const int room = r.width() - overhead(field_);
        if (textWidth(font, text) <= room)
            return;
        const bool points = font.pointSizeF() > 0;
        const qreal size = points ? font.pointSizeF() : font.pixelSize();
        QFont smaller;
        for (int step = 1; step <= kSteps; ++step) {
            const qreal share = 1.0 - (1.0 - kSmallestShare) * step / kSteps;
            if (points)
                smaller.setPointSizeF(size * share);
            else
                smaller.setPixelSize(std::max(1, qRound(size * share)));
            smaller = smaller.resolve(font);
            if (textWidth(smaller, text) <= room)
                break;
        }
        field_->setFont(smaller);
    }

private:
    QLineEdit* field_;
    QRect design_;
};

// Text and background of a field shown for reading: the window's own pair, which every theme
// keeps legible against each other, instead of the greyed text of a disabled field.
class ReadingColours : public QObject {
public:
    explicit ReadingColours(QLineEdit* field) : QObject(field), field_(field) { apply(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == field_ && event->type() == QEvent::ApplicationPaletteChange)
            apply();
        return false;
    }

private:
    void apply()
    {
        const QPalette theme = QApplication::palette(field_);
        QPalette palette = field_->palette();
        palette.setColor(QPalette::Base, theme.color(QPalette::Window));
        palette.setColor(QPalette::Text, theme.color(QPalette::WindowText));
        field_->setPalette(palette);
    }

    QLineEdit* field_;
};

} // namespace

void KeepAmountWhole(QLineEdit* field)
{
    const AmountFit fit(field);
    QObject::connect(field, &QLineEdit::textChanged, field, fit);
    fit();
}

void ShowAmountForReading(QLineEdit* field)
{
    field->setEnabled(true);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->installEventFilter(new ReadingColours(field));
}
