#include "assessment/ResultsPrinting.h"

#include "platform/Printing.h"

namespace assessment {

bool printScreenPages(QWidget* screen, const std::function<void(int page)>& beforePage, int pages) {
    platform::PrinterCanvas canvas;
    if (!canvas.beginDoc()) return false;
    for (int page = 0; page < pages; ++page) {
        if (page > 0) canvas.newPage();
        beforePage(page);
        canvas.drawScreen(screen);
    }
    canvas.endDoc();
    return true;
}

}  // namespace assessment
