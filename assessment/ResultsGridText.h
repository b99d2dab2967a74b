#pragma once
// The results grid as text: the saved results file (one line per row, cells separated by TAB) and
// the clipboard text (every cell followed by TAB, every row ended by CR).
#include <QRect>
#include <QString>
#include <QStringList>

namespace platform { class StringGrid; }

namespace assessment {

// The lines of the results file, one per grid row, without line ends.
QStringList resultsLines(const platform::StringGrid& grid);

// The clipboard text of the cells in `cells` (left, top, right, bottom inclusive).
QString clipboardText(const platform::StringGrid& grid, const QRect& cells);

}  // namespace assessment
