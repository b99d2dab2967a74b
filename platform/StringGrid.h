#pragma once
// An editable string grid: cells addressed (column, row) from 0, fixed rows and columns at the top
// and left, column widths and row heights in pixels, the selection as a rectangle of cells, and the
// top row of the visible part. The fixed rows stay in place while the rows below them scroll; the
// fixed columns scroll with the others.
#include <QRect>
#include <QTableWidget>

#include "platform/TextFieldRule.h"

class QTableView;

namespace platform {

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    int colCount() const { return columnCount(); }
    int rowCountTotal() const { return rowCount(); }
    void setColCount(int n);
    void setRowCountTotal(int n);
    void setFixedCols(int n);
    void setFixedRows(int n);
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    void setEditable(bool editable);
    bool isEditable() const { return editable_; }
    // What the cells' file cannot take (platform/TextFieldRule.h); the plain rule until one is set.
    void setCellTextRule(const TextFieldRule& rule) { cellTextRule_ = rule; }
    void setDefaultColWidth(int pixels);
    void setDefaultRowHeight(int pixels);

    // The selection as (left, top, right, bottom) cells; the current cell when nothing larger is selected.
    QRect selectionRect() const;
    void setSelectionRect(const QRect& cells);
    int topRow() const;
    void setTopRow(int row);
    int currentCol() const { return currentColumn(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The text of a cell changed while the user typed in it (the cell holds the new text). It comes
    // once the cell editor has finished with the key, so that a handler may show a box or change
    // the cell; a text typed over before then is not announced.
    void editTextChanged(int col, int row, const QString& text);

private:
    friend class StringGridEditorDelegate;
    QTableWidgetItem* cellItem(int col, int row);
    void updateCells();
    bool isFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    void keepCurrentOutOfFixedCells(int row, int col);
    void updateFixedRowsView();

    // The fixed rows stay at the top while the other rows scroll: a second view of the same cells
    // lies over the first rows of the grid's viewport.
    QTableView* fixedRowsView_ = nullptr;

    TextFieldRule cellTextRule_;
    int fixedCols_ = 0;
    int fixedRows_ = 0;
    bool editable_ = false;
    bool updating_ = false;
};

}  // namespace platform
