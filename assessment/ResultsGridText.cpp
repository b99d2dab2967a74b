#include "assessment/ResultsGridText.h"

#include "platform/StringGrid.h"

namespace assessment {

QStringList resultsLines(const platform::StringGrid& grid) {
    QStringList lines;
    for (int row = 0; row < grid.rowCountTotal(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid.colCount(); ++col) cells << grid.cell(col, row);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

QString clipboardText(const platform::StringGrid& grid, const QRect& cells) {
    QString text;
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int col = cells.left(); col <= cells.right(); ++col) {
            text += grid.cell(col, row);
            text += QLatin1Char('\t');
        }
        text += QLatin1Char('\r');
    }
    return text;
}

}  // namespace assessment
