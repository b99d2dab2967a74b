#pragma once
// Long numbers in narrow grid columns: a cell whose text is wider than its column is drawn cut
// with "..." on one line, and the whole text shows as the cell's tooltip. The texts themselves are
// never changed.
namespace platform { class StringGrid; }

void showCutCellTextsAsTips(platform::StringGrid* grid);

// True when the text of the cell is wider than its column (the tooltip then holds the text).
bool cellTextIsCut(const platform::StringGrid* grid, int col, int row);
