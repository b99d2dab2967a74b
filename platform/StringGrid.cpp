#include "platform/StringGrid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

#include "platform/Guard.h"

namespace platform {

// The cell editor: it takes what the grid's file can hold (the grid's text rule). Every change while
// typing goes into the cell at once and is announced once the editor has finished with the key, for
// the text the cell still holds.
class StringGridEditorDelegate : public QStyledItemDelegate {
public:
    explicit StringGridEditorDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            setTextFieldRule(line, grid_->cellTextRule_);
            const int col = index.column();
            const int row = index.row();
            connect(line, &QLineEdit::textEdited, grid_, [grid = grid_, col, row](const QString& text) {
                grid->setCell(col, row, text);
                runGuardedAfterTyping(grid, [grid, col, row, text] {
                    // A text typed over since, or emptied by an earlier reaction, is not announced.
                    if (grid->cell(col, row) == text) emit grid->editTextChanged(col, row, text);
                });
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
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new StringGridEditorDelegate(this));
    setEditable(false);
    // Cells added by any means get their items, so that every cell's look and flags are the grid's.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { updateCells(); });
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { updateCells(); });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { keepCurrentOutOfFixedCells(row, col); });
    viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { updateFixedRowsView(); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int row) {
        if (row < fixedRows_) updateFixedRowsView();
    });
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
    updateFixedRowsView();
}

void StringGrid::updateFixedRowsView() {
    const int rows = std::min(fixedRows_, rowCount());
    if (rows == 0) {
        if (fixedRowsView_) fixedRowsView_->hide();
        return;
    }
    if (!fixedRowsView_) {
        fixedRowsView_ = new QTableView(this);
        fixedRowsView_->setModel(model());
        fixedRowsView_->setFocusPolicy(Qt::NoFocus);
        fixedRowsView_->setSelectionMode(QAbstractItemView::NoSelection);
        fixedRowsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        fixedRowsView_->setFrameShape(QFrame::NoFrame);
        fixedRowsView_->horizontalHeader()->hide();
        fixedRowsView_->verticalHeader()->hide();
        fixedRowsView_->horizontalHeader()->setMinimumSectionSize(1);
        fixedRowsView_->verticalHeader()->setMinimumSectionSize(1);
        fixedRowsView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixedRowsView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixedRowsView_->viewport()->installEventFilter(this);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, fixedRowsView_->horizontalScrollBar(), &QScrollBar::setValue);
        // The fixed rows never scroll away inside their own view.
        connect(fixedRowsView_->verticalScrollBar(), &QScrollBar::valueChanged, fixedRowsView_,
                [view = fixedRowsView_](int value) {
                    if (value != 0) view->verticalScrollBar()->setValue(0);
                });
    }
    fixedRowsView_->setFont(font());
    fixedRowsView_->setShowGrid(showGrid());
    fixedRowsView_->setGridStyle(gridStyle());
    fixedRowsView_->setHorizontalScrollMode(horizontalScrollMode());
    for (int col = 0; col < columnCount(); ++col) fixedRowsView_->setColumnWidth(col, columnWidth(col));
    int height = 0;
    for (int row = 0; row < rows; ++row) {
        fixedRowsView_->setRowHeight(row, rowHeight(row));
        height += rowHeight(row);
    }
    const QRect area = viewport()->geometry();
    fixedRowsView_->setGeometry(area.x(), area.y(), area.width(), std::min(height, area.height()));
    fixedRowsView_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    fixedRowsView_->show();
    fixedRowsView_->raise();
}

void StringGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    updateFixedRowsView();
}

void StringGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableWidget::scrollTo(index, hint);
    // A row that would come to lie under the fixed rows scrolls down to just below them.
    if (!index.isValid() || index.row() < fixedRows_) return;
    const int firstShown = index.row() - fixedRows_;
    if (rowAt(0) > firstShown) verticalScrollBar()->setValue(firstShown);
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
    // A scroll bar that comes or goes changes the viewport, and the fixed rows follow it.
    if (watched == viewport() && event->type() == QEvent::Resize) updateFixedRowsView();
    // The mouse wheel over the fixed rows scrolls the grid.
    if (fixedRowsView_ && watched == fixedRowsView_->viewport() && event->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(viewport(), event);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
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
    if (rowCount() == 0) return;
    // The first scrolled row lies under the fixed rows; the top row is the one below them. As the
    // program asks, a row near the end comes to the top too, with blank space below the last row;
    // the scroll range is the usual one again at the next layout of the grid.
    const int value = std::clamp(row - fixedRows_, 0, rowCount() - 1);
    QScrollBar* bar = verticalScrollBar();
    const bool pastTheEnd = value > bar->maximum();
    if (pastTheEnd) bar->setMaximum(value);
    bar->setValue(value);
    // At the end of its range the view would show the last row at the bottom instead.
    if (pastTheEnd) verticalHeader()->setOffsetToSectionPosition(value);
}

}  // namespace platform
