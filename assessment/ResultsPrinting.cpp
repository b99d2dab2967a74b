#include "assessment/ResultsPrinting.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>

#include "platform/Printing.h"

namespace assessment {

bool printScreenPages(QWidget* screen, const std::function<void(int page)>& beforePage, int pages) {
    platform::PrinterCanvas canvas;
    if (!canvas.beginDoc()) return false;
    for (int page = 0; page < pages; ++page) {
        if (page > 0) canvas.newPage();
        beforePage(page);
        const QPixmap image = screen->grab();
        if (image.isNull() || image.width() <= 0 || image.height() <= 0) continue;
        const double scale = std::min(static_cast<double>(canvas.pageWidth()) / image.width(),
                                      static_cast<double>(canvas.pageHeight()) / image.height());
        const QRectF target(0, 0, image.width() * scale, image.height() * scale);
        canvas.painter().drawPixmap(target, image, QRectF(image.rect()));
    }
    canvas.endDoc();
    return true;
}

}  // namespace assessment
