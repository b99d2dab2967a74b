#include "lifetables/Unit_LifeTablesCellTips.h"

#include <QFontMetrics>
#include <QTableWidgetItem>

#include "platform/Guard.h"
#include "platform/StringGrid.h"

namespace {

// The room a cell's text takes: the text itself and the margins the view keeps on both sides.
constexpr int kCellTextMargins = 8;

void updateTip(const platform::StringGrid* grid, QTableWidgetItem* item) {
    if (!item) return;
    const QString tip = cellTextIsCut(grid, item->column(), item->row()) ? item->text() : QString();
    if (item->toolTip() != tip) item->setToolTip(tip);
}

}  // namespace

bool cellTextIsCut(const platform::StringGrid* grid, int col, int row) {
    const QTableWidgetItem* item = grid->item(row, col);
    if (!item || item->text().isEmpty()) return false;
    return QFontMetrics(grid->font()).horizontalAdvance(item->text()) + kCellTextMargins > grid->columnWidth(col);
}

void showCutCellTextsAsTips(platform::StringGrid* grid) {
    grid->setWordWrap(false);
    for (int row = 0; row < grid->rowCountTotal(); ++row)
        for (int col = 0; col < grid->colCount(); ++col) updateTip(grid, grid->item(row, col));
    QObject::connect(grid, &QTableWidget::itemChanged, grid,
                     [grid](QTableWidgetItem* item) { platform::runGuarded([&] { updateTip(grid, item); }); });
}
