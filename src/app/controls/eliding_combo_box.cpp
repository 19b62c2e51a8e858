#include "controls/eliding_combo_box.h"

#include "controls/control_accessibility.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

ElidingComboBox::ElidingComboBox(QWidget* parent) : FocusedWheel<QComboBox>(parent)
{
    InstallControlAccessibility();
    connect(this, &QComboBox::currentTextChanged, this, [this] { updateToolTip(); });
    // The accessibility bus carries no value text for a list; a screen reader finds the entry
    // as the selected item of the open list. The toolkit marks it only while the list is open,
    // so a closed list would be heard by its caption alone. The list's cursor is left alone:
    // an entry under it is announced as having the focus.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { selectEntry(); });
    // The action of an entry selects it. Keys and the mouse in the open list move its cursor as
    // they select, and a closed list is selected by nothing but its entry; any other selection
    // is a pick by assistive technology, taken as a click on the entry would be, after the
    // action has returned.
    connect(view()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = view()->selectionModel()->selectedIndexes();
        if (selected.size() != 1 || selected.first().row() == currentIndex() || !isEnabled() ||
            !isVisible() || (view()->isVisible() && selected.first() == view()->currentIndex()))
            return;
        QMetaObject::invokeMethod(
            this, [this, row = selected.first().row()] { pick(row); }, Qt::QueuedConnection);
    });
}

void ElidingComboBox::hidePopup()
{
    QComboBox::hidePopup();
    // Left with Escape, the open list keeps the entry its cursor was on selected.
    selectEntry();
}

void ElidingComboBox::selectEntry()
{
    view()->selectionModel()->select(
        model()->index(currentIndex(), modelColumn(), rootModelIndex()),
        QItemSelectionModel::ClearAndSelect);
}

void ElidingComboBox::pick(int index)
{
    hidePopup();
    setCurrentIndex(index);
    emit activated(index);
    emit textActivated(itemText(index));
}

QString ElidingComboBox::shownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The style draws the label one pixel in from either side of the edit field.
    int width = field.width() - 2;
    if (!option.currentIcon.isNull())
        width -= option.iconSize.width() + 4;
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, qMax(0, width));
}

void ElidingComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ElidingComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    updateToolTip();
}

void ElidingComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateToolTip();
}

void ElidingComboBox::updateToolTip()
{
    const QString text = currentText();
    setToolTip(shownText() == text ? QString() : text);
}
