#include "controls/eliding_combo_box.h"

#include "controls/control_accessibility.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

ElidingComboBox::ElidingComboBox(QWidget* parent) : QComboBox(parent)
{
    InstallControlAccessibility();
    connect(this, &QComboBox::currentTextChanged, this, [this] { updateToolTip(); });
    // The accessibility bus carries no value text for a list; a screen reader finds the entry
    // as the selected item of the open list. The toolkit marks it only while the list is open,
    // so a closed list would be heard by its caption alone.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        view()->selectionModel()->setCurrentIndex(
            model()->index(index, modelColumn(), rootModelIndex()),
            QItemSelectionModel::ClearAndSelect);
    });
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
