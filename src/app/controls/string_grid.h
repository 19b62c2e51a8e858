#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>

// The cells of a string grid, addressed by column and row as the order window counts them.
// A cell keeps its text whatever the row count: rows removed from view keep their cells, and
// rows past the last shown one can be written before they come into view.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StringGridModel(QObject* parent = nullptr);

    void setShape(int colCount, int rowCount, bool fixedRow);
    int colCount() const { return cols_; }
    int gridRowCount() const { return rows_; }
    void setGridRowCount(int rows);
    bool hasFixedRow() const { return fixedRow_; }

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    // Column 0 is shown as the row headers and, with a fixed row, row 0 as the column titles;
    // the model's own rows and columns are the editable cells.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    static quint64 key(int col, int row) { return (quint64(quint32(col)) << 32) | quint32(row); }
    int firstShownRow() const { return fixedRow_ ? 1 : 0; }

    QHash<quint64, QString> cells_;
    int cols_ = 1;
    int rows_ = 1;
    bool fixedRow_ = false;
};

// A grid of editable text cells with a fixed title column 0 and optionally a fixed title row 0.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    // colCount columns including the title column; rowCount rows including a fixed row.
    void setShape(int colCount, int rowCount, bool fixedRow);
    void setColumnWidths(int width);
    void setRowHeights(int height);

    int colCount() const { return model_->colCount(); }
    int rowCount() const { return model_->gridRowCount(); }
    void setRowCount(int rows);

    QString cell(int col, int row) const { return model_->cell(col, row); }
    void setCell(int col, int row, const QString& text) { model_->setCell(col, row, text); }
    // What the cell shows: the text of an open editor, committed or not.
    QString shownCell(int col, int row) const;

    StringGridModel* gridModel() const { return model_; }

    // A cell still being typed into holds its text in the open editor; this gives it to the
    // cell, and the editor stays open. For whoever reads the cells while the customer may still
    // be typing (an action pressed by a screen reader takes no focus from the cell).
    void commitOpenEdit();

    // The whole text of a cell too narrow for it, which the cell shows cut with "…"; empty
    // when the text fits.
    QString cellToolTip(const QModelIndex& index) const;

protected:
    bool viewportEvent(QEvent* event) override;
    // Enter confirms the cell and moves down a row, as in a form; it must not reach the window,
    // where it would press OK and start closing the order.
    void keyPressEvent(QKeyEvent* event) override;
    // A cell holds one line: its editor keeps pasted and dropped text on one line.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

protected slots:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void moveDown();

    StringGridModel* model_;
    bool moveDownAfterEdit_ = false;
};
