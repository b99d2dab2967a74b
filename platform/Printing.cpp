#include "platform/Printing.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "platform/Dialogs.h"
#include "platform/ModalState.h"
#include "platform/testing/DialogScript.h"

namespace platform {

using testing::DialogScript;

namespace {

// A screen is drawn at three times its size, so that its texts stay sharp on paper.
constexpr int kPrintSharpness = 3;

testing::PrintedPageHook& printedPageHook() {
    static testing::PrintedPageHook hook;
    return hook;
}

testing::CanvasPageHook& canvasPageHook() {
    static testing::CanvasPageHook hook;
    return hook;
}

// A watched page is copied at a tenth of the printer's resolution: enough to see what lies where.
constexpr double kCopyScale = 0.1;

// The printer settings of the program: the set-up dialog's choice applies to all later printing.
struct PrinterSettings {
    QPrinter* printer = nullptr;
    bool chosenByUser = false;
};

PrinterSettings& settings() {
    static PrinterSettings s;
    if (!s.printer) s.printer = new QPrinter(QPrinter::HighResolution);
    return s;
}

bool runPrintDialog(bool setupOnly) {
    if (DialogScript::active()) {
        detail::noteModalShown();
        return DialogScript::takePrintDialogAnswer();
    }
    PrinterSettings& s = settings();
    QPrintDialog dialog(s.printer, detail::modalOwner());
    if (setupOnly) {
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    }
    if (execModal(dialog) != QDialog::Accepted) return false;
    s.chosenByUser = true;
    return true;
}

}  // namespace

bool printerSetup() { return runPrintDialog(true); }
bool printDialog() { return runPrintDialog(false); }

struct PrinterCanvas::Private {
    std::unique_ptr<QPrinter> ownPrinter;  // a test job's PDF printer
    QPrinter* printer = nullptr;
    QPainter painter;
    QFont font;
    bool fontSet = false;
    int pages = 0;
    bool started = false;
    // The copy of the current page while a test watches the canvas.
    testing::CanvasPage copy;
    QPainter copyPainter;

    void startCopy() {
        if (!canvasPageHook()) return;
        const double dotsPerMetre = printer->resolution() / 0.0254;
        copy = {QImage(QSize(printer->width(), printer->height()) * kCopyScale, QImage::Format_RGB32), {}, kCopyScale};
        copy.image.setDotsPerMeterX(qRound(dotsPerMetre));  // texts keep their size in printer pixels
        copy.image.setDotsPerMeterY(qRound(dotsPerMetre));
        copy.image.fill(Qt::white);
        copyPainter.begin(&copy.image);
        copyPainter.scale(kCopyScale, kCopyScale);
        copyPainter.setFont(font);
    }
    void finishCopy() {
        if (!copyPainter.isActive()) return;
        copyPainter.end();
        if (const testing::CanvasPageHook& hook = canvasPageHook()) hook(copy);
        copy = {};
    }
    // Runs `draw` on the page and on its watched copy.
    void onPage(const std::function<void(QPainter&)>& draw) {
        draw(painter);
        if (copyPainter.isActive()) draw(copyPainter);
    }

    // The printer of a new job: a test's PDF, the user's choice, the default printer, or a PDF file
    // that the user names. Null when the user cancelled.
    QPrinter* jobPrinter() {
        if (DialogScript::active() && !DialogScript::pdfTarget().isEmpty()) {
            ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
            ownPrinter->setOutputFormat(QPrinter::PdfFormat);
            ownPrinter->setOutputFileName(DialogScript::pdfTarget());
            return ownPrinter.get();
        }
        PrinterSettings& s = settings();
        if (s.chosenByUser) return s.printer;
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (!defaultPrinter.isNull()) {
            s.printer->setOutputFormat(QPrinter::NativeFormat);
            s.printer->setPrinterName(defaultPrinter.printerName());
            return s.printer;
        }
        FileDialogOptions options;
        options.title = QStringLiteral("Print to PDF file");
        options.filter = QStringLiteral("PDF files (*.pdf)");
        options.defaultExt = QStringLiteral("pdf");
        options.overwritePrompt = true;
        const std::optional<QString> file = saveFileDialog(options);
        if (!file) return nullptr;
        s.printer->setOutputFormat(QPrinter::PdfFormat);
        s.printer->setOutputFileName(*file);
        return s.printer;
    }
};

PrinterCanvas::PrinterCanvas() : d_(std::make_unique<Private>()) {}

PrinterCanvas::~PrinterCanvas() { endDoc(); }

bool PrinterCanvas::beginDoc() {
    if (d_->started) return true;
    d_->printer = d_->jobPrinter();
    if (!d_->printer) return false;
    if (!d_->painter.begin(d_->printer)) {
        showMessage(QStringLiteral("Printing failed: the printer could not be opened."));
        d_->printer = nullptr;
        return false;
    }
    d_->started = true;
    d_->pages = 1;
    if (!d_->fontSet) {
        // A new canvas writes in the default font at 8 points.
        d_->font = QGuiApplication::font();
        d_->font.setPointSize(8);
    }
    d_->painter.setFont(d_->font);
    d_->startCopy();
    return true;
}

void PrinterCanvas::endDoc() {
    if (!d_->started) return;
    d_->finishCopy();
    d_->painter.end();
    d_->started = false;
    DialogScript::recordPrintJob(d_->pages);
}

void PrinterCanvas::newPage() {
    if (!d_->started) return;
    d_->finishCopy();
    if (d_->printer->newPage()) ++d_->pages;
    d_->startCopy();
}

int PrinterCanvas::pageWidth() const { return d_->printer ? d_->printer->width() : 0; }
int PrinterCanvas::pageHeight() const { return d_->printer ? d_->printer->height() : 0; }
int PrinterCanvas::resolution() const { return d_->printer ? d_->printer->resolution() : 0; }

void PrinterCanvas::setFont(const QFont& font) {
    d_->font = font;
    d_->fontSet = true;
    if (d_->started) d_->painter.setFont(font);
    if (d_->copyPainter.isActive()) d_->copyPainter.setFont(font);
}

void PrinterCanvas::textOut(int x, int y, const QString& text) {
    if (!d_->started) return;
    // The position is the top left corner of the text.
    d_->onPage([&](QPainter& page) { page.drawText(x, y + page.fontMetrics().ascent(), text); });
    if (d_->copyPainter.isActive()) d_->copy.texts.append(text);
}

namespace {

QImage blankImage(QSize size) {
    QImage image(size * kPrintSharpness, QImage::Format_RGB32);
    image.setDevicePixelRatio(kPrintSharpness);
    image.fill(Qt::white);
    return image;
}

// The screen as it shows now, except that a scroll box whose content is taller than its view is
// shown whole: the screen is drawn as much taller, what lies below the view moves down, and the
// frame beside the view runs on beside the content. Scrolling is not printed.
QImage screenImage(QWidget* screen) {
    QImage shown = blankImage(screen->size());
    screen->render(&shown);
    for (QScrollArea* area : screen->findChildren<QScrollArea*>()) {
        QWidget* content = area->widget();
        QWidget* view = area->viewport();
        const int extra = content && area->isVisible() ? content->height() - view->height() : 0;
        if (extra <= 0) continue;
        const QRect viewRect(view->mapTo(screen, QPoint(0, 0)), view->size());
        const int w = screen->width();
        const int cut = viewRect.bottom() + 1;  // the first line below the view
        const double k = kPrintSharpness;
        QImage image = blankImage(screen->size() + QSize(0, extra));
        QPainter painter(&image);
        painter.drawImage(QRectF(0, 0, w, cut), shown, QRectF(0, 0, w * k, cut * k));
        painter.drawImage(QRectF(0, cut + extra, w, screen->height() - cut), shown,
                          QRectF(0, cut * k, w * k, (screen->height() - cut) * k));
        painter.drawImage(QRectF(0, cut, w, extra), shown, QRectF(0, (cut - 1) * k, w * k, 1));
        painter.fillRect(viewRect.adjusted(0, 0, 0, extra), view->palette().brush(view->backgroundRole()));
        if (QScrollBar* bar = area->verticalScrollBar(); bar->isVisible())
            painter.fillRect(QRect(bar->mapTo(screen, QPoint(0, 0)), bar->size() + QSize(0, extra)),
                             area->palette().window());
        content->render(&painter, viewRect.topLeft());
        return image;
    }
    return shown;
}

}  // namespace

void PrinterCanvas::drawScreen(QWidget* screen) {
    if (!d_->started || !screen || screen->width() <= 0 || screen->height() <= 0) return;
    const QImage image = screenImage(screen);
    if (const testing::PrintedPageHook& hook = printedPageHook()) hook(*screen, image);
    const QSize target = (image.size() / kPrintSharpness).scaled(pageWidth(), pageHeight(), Qt::KeepAspectRatio);
    d_->onPage([&](QPainter& page) {
        page.setRenderHint(QPainter::SmoothPixmapTransform);
        page.drawImage(QRect(QPoint(0, 0), target), image);
    });
}

void PrinterCanvas::paint(const std::function<void(QPainter&)>& draw) {
    if (d_->started) d_->onPage(draw);
}

QFont PrinterCanvas::font() const { return d_->font; }

bool printWidgetImage(QWidget* widget) {
    if (!widget) return false;
    PrinterCanvas canvas;
    if (!canvas.beginDoc()) return false;
    canvas.drawScreen(widget);
    canvas.endDoc();
    return true;
}

void testing::setPrintedPageHook(PrintedPageHook hook) { printedPageHook() = std::move(hook); }
void testing::setCanvasPageHook(CanvasPageHook hook) { canvasPageHook() = std::move(hook); }

}  // namespace platform
