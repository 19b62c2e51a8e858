#include "controls/string_grid.h"

#include "controls/line_breaks.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void StringGridModel::setShape(int colCount, int rowCount, bool fixedRow)
{
    beginResetModel();
    cols_ = qMax(1, colCount);
    rows_ = qMax(1, rowCount);
    fixedRow_ = fixedRow;
    endResetModel();
}

void StringGridModel::setGridRowCount(int rows)
{
    rows = qMax(1, rows);
    const int oldShown = rowCount();
    const int newShown = qMax(0, rows - firstShownRow());
    if (newShown > oldShown) {
        beginInsertRows({}, oldShown, newShown - 1);
        rows_ = rows;
        endInsertRows();
    } else if (newShown < oldShown) {
        beginRemoveRows({}, newShown, oldShown - 1);
        rows_ = rows;
        endRemoveRows();
    } else {
        rows_ = rows;
    }
}

QString StringGridModel::cell(int col, int row) const
{
    return cells_.value(key(col, row));
}

void StringGridModel::setCell(int col, int row, const QString& text)
{
    if (col < 0 || row < 0)
        return;
    if (text.isEmpty())
        cells_.remove(key(col, row));
    else
        cells_.insert(key(col, row), text);

    if (col == 0 && row >= firstShownRow() && row < rows_) {
        emit headerDataChanged(Qt::Vertical, row - firstShownRow(), row - firstShownRow());
    } else if (fixedRow_ && row == 0 && col > 0 && col < cols_) {
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    } else if (col > 0 && col < cols_ && row >= firstShownRow() && row < rows_) {
        const QModelIndex at = index(row - firstShownRow(), col - 1);
        emit dataChanged(at, at);
    }
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : qMax(0, rows_ - firstShownRow());
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_ - 1;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return cell(index.column() + 1, index.row() + firstShownRow());
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.column() + 1, index.row() + firstShownRow(), value.toString());
    return true;
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return cell(0, section + firstShownRow());
    return fixedRow_ ? cell(section + 1, 0) : QString();
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this))
{
    setModel(model_);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
}

void StringGrid::setShape(int colCount, int rowCount, bool fixedRow)
{
    model_->setShape(colCount, rowCount, fixedRow);
    horizontalHeader()->setVisible(fixedRow);
}

void StringGrid::setColumnWidths(int width)
{
    verticalHeader()->setFixedWidth(width);
    horizontalHeader()->setDefaultSectionSize(width);
}

void StringGrid::setRowHeights(int height)
{
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height + 2);
}

void StringGrid::setRowCount(int rows)
{
    model_->setGridRowCount(rows);
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // While a cell is being edited, its editor hands the text over and closes right after
        // this; the move waits for that.
        if (state() == QAbstractItemView::EditingState)
            moveDownAfterEdit_ = true;
        else
            moveDown();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(index)))
        KeepOnOneLine(editor);
    return true;
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The cell editor turns Tab into "edit the next cell" even without tab navigation, which
    // would keep the keyboard in the grid for good: Tab and Backtab leave the grid instead,
    // with the cell's text already committed.
    const bool tab = hint == QAbstractItemDelegate::EditNextItem ||
                     hint == QAbstractItemDelegate::EditPreviousItem;
    if (tab && !tabKeyNavigation()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveDownAfterEdit_ = false;
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
        return;
    }
    QTableView::closeEditor(editor, hint);
    if (moveDownAfterEdit_) {
        moveDownAfterEdit_ = false;
        moveDown();
    }
}

void StringGrid::moveDown()
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() + 1 < model_->rowCount())
        setCurrentIndex(model_->index(current.row() + 1, current.column()));
}

QString StringGrid::shownCell(int col, int row) const
{
    // Only the current cell has an editor. Reading it, rather than committing it, leaves Escape
    // free to take the typing back.
    const QModelIndex current = currentIndex();
    const int firstRow = model_->hasFixedRow() ? 1 : 0;
    if (current.isValid() && current.column() + 1 == col && current.row() + firstRow == row)
        if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(current)))
            return editor->text();
    return cell(col, row);
}

QString StringGrid::cellToolTip(const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return {};
    // The item view draws a cell's text inside the focus frame's margin plus one pixel a side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = visualRect(index).width() - 2 * margin;
    return fontMetrics().horizontalAdvance(text) > room ? text : QString();
}

bool StringGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString text = cellToolTip(index);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
        return true;
    }
    return QTableView::viewportEvent(event);
}

void StringGrid::commitOpenEdit()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    if (QWidget* editor = indexWidget(current))
        if (QAbstractItemDelegate* delegate = itemDelegateForIndex(current))
            emit delegate->commitData(editor);
}
