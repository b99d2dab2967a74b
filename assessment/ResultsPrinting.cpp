#include "assessment/ResultsPrinting.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/Printing.h"

namespace assessment {

namespace {
// The screen is drawn at three times its size, so that its texts stay sharp on paper.
constexpr int kPrintSharpness = 3;
}  // namespace

bool printScreenPages(QWidget* screen, const std::function<void(int page)>& beforePage, int pages) {
    platform::PrinterCanvas canvas;
    if (!canvas.beginDoc()) return false;
    QPainter& painter = canvas.painter();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) canvas.newPage();
        beforePage(page);
        if (screen->width() <= 0 || screen->height() <= 0) continue;
        QImage image(screen->size() * kPrintSharpness, QImage::Format_RGB32);
        image.setDevicePixelRatio(kPrintSharpness);
        image.fill(Qt::white);
        screen->render(&image);
        const QSize target = screen->size().scaled(canvas.pageWidth(), canvas.pageHeight(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint(0, 0), target), image);
    }
    canvas.endDoc();
    return true;
}

}  // namespace assessment
