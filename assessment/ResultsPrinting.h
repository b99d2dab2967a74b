#pragma once
// Printing a screen's image on several pages of one print job: before each page the caller moves
// the screen to the part that page shows (such as the next block of a table).
#include <functional>

class QWidget;

namespace assessment {

// Page p (0-based) shows the screen's image after beforePage(p) ran, scaled to the page width (or
// to the page height when that is the tighter fit). Returns false when no job could be started.
bool printScreenPages(QWidget* screen, const std::function<void(int page)>& beforePage, int pages);

}  // namespace assessment
