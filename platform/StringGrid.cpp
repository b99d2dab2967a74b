#include "platform/StringGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <algorithm>

namespace platform {

// The cell editor: every change while typing goes into the cell at once and is announced.
class StringGridEditorDelegate : public QStyledItemDelegate {
public:
    explicit StringGridEditorDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int col = index.column();
            const int row = index.row();
            connect(line, &QLineEdit::textEdited, grid_, [grid = grid_, col, row](const QString& text) {
                grid->setCell(col, row, text);
                emit grid->editTextChanged(col, row, text);
            });
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Rewriting the same text would move the cursor while the user types.
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

private:
    StringGrid* grid_;
};

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(24);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setItemDelegate(new StringGridEditorDelegate(this));
    setEditable(false);
    // Cells added by any means get their items, so that every cell's look and flags are the grid's.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { updateCells(); });
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { updateCells(); });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { keepCurrentOutOfFixedCells(row, col); });
}

QString StringGrid::cell(int col, int row) const {
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString& text) {
    QTableWidgetItem* it = cellItem(col, row);
    if (it && it->text() != text) it->setText(text);
}

QTableWidgetItem* StringGrid::cellItem(int col, int row) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return nullptr;
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        updateCells();
        it = item(row, col);
    }
    return it;
}

void StringGrid::setColCount(int n) { setColumnCount(std::max(n, 0)); updateCells(); }
void StringGrid::setRowCountTotal(int n) { setRowCount(std::max(n, 0)); updateCells(); }

void StringGrid::setFixedCols(int n) {
    fixedCols_ = std::max(n, 0);
    updateCells();
}

void StringGrid::setFixedRows(int n) {
    fixedRows_ = std::max(n, 0);
    updateCells();
}

void StringGrid::setEditable(bool editable) {
    editable_ = editable;
    setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                             : QAbstractItemView::NoEditTriggers);
    updateCells();
}

void StringGrid::setDefaultColWidth(int pixels) { horizontalHeader()->setDefaultSectionSize(pixels); }
void StringGrid::setDefaultRowHeight(int pixels) { verticalHeader()->setDefaultSectionSize(pixels); }

void StringGrid::updateCells() {
    if (updating_) return;
    updating_ = true;
    const QBrush fixedBackground = palette().button();
    const QBrush fixedText = palette().buttonText();
    const Qt::ItemFlags normalFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | (editable_ ? Qt::ItemIsEditable : Qt::NoItemFlags);
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            QTableWidgetItem* it = item(row, col);
            if (!it) {
                it = new QTableWidgetItem;
                setItem(row, col, it);
            }
            const bool fixed = isFixed(col, row);
            const Qt::ItemFlags flags = fixed ? Qt::ItemIsEnabled : normalFlags;
            if (it->flags() != flags) it->setFlags(flags);
            // Fixed cells look like headers; the others take the view's colours.
            it->setBackground(fixed ? fixedBackground : QBrush());
            it->setForeground(fixed ? fixedText : QBrush());
        }
    }
    updating_ = false;
    keepCurrentOutOfFixedCells(currentRow(), currentColumn());
}

void StringGrid::keepCurrentOutOfFixedCells(int row, int col) {
    if (updating_ || row < 0 || col < 0 || !isFixed(col, row)) return;
    const int r = std::max(row, fixedRows_);
    const int c = std::max(col, fixedCols_);
    if (r < rowCount() && c < columnCount()) setCurrentCell(r, c);
}

QRect StringGrid::selectionRect() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (!ranges.isEmpty()) {
        const QTableWidgetSelectionRange& r = ranges.last();
        return QRect(QPoint(r.leftColumn(), r.topRow()), QPoint(r.rightColumn(), r.bottomRow()));
    }
    return QRect(QPoint(currentColumn(), currentRow()), QPoint(currentColumn(), currentRow()));
}

void StringGrid::setSelectionRect(const QRect& cells) {
    const QRect r = cells.normalized();
    clearSelection();
    // The anchor is the top left cell, the current cell the bottom right one.
    setCurrentCell(r.bottom(), r.right(), QItemSelectionModel::NoUpdate);
    setRangeSelected(QTableWidgetSelectionRange(r.top(), r.left(), r.bottom(), r.right()), true);
}

int StringGrid::topRow() const {
    // The fixed rows stand above the scrolled part: the top row is the first scrollable row shown.
    const int first = rowAt(0);
    return std::max(first, 0) + fixedRows_;
}

void StringGrid::setTopRow(int row) {
    const int first = std::clamp(row - fixedRows_, 0, std::max(rowCount() - 1, 0));
    if (rowCount() == 0) return;
    scrollTo(model()->index(first, std::max(currentColumn(), 0)), QAbstractItemView::PositionAtTop);
}

}  // namespace platform
