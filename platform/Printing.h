#pragma once
// Printing on the default printer; without one, the user is asked for a PDF file name.
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPainter;
class QWidget;

namespace platform {

// A screen's image on one page, scaled to fit. Returns false when nothing was printed (no printer
// and the PDF question was cancelled).
bool printWidgetImage(QWidget* widget);

// The printer set-up dialog. Returns false when cancelled.
bool printerSetup();
// The print dialog before a print command; its choice applies to later printing too. False when cancelled.
bool printDialog();

// The printer's canvas: begin a job, write texts at positions, hand a rectangle to a painter.
// Positions are in printer pixels (the device's resolution).
class PrinterCanvas {
public:
    PrinterCanvas();
    ~PrinterCanvas();
    bool beginDoc();   // false when no job could be started (nothing printed)
    void endDoc();
    void newPage();
    int pageWidth() const;
    int pageHeight() const;
    int resolution() const;  // dots per inch
    void setFont(const QFont& font);  // point sizes are scaled to the device
    void textOut(int x, int y, const QString& text);
    // The screen's image as it shows now, at the top left of the current page, scaled to the page
    // width (or to the page height when that is the tighter fit). A scroll box's content is shown
    // whole, the image as much taller as the content is taller than its view.
    void drawScreen(QWidget* screen);
    // Hands the current page to `draw`, which paints on it in printer pixels (a chart, for one).
    void paint(const std::function<void(QPainter&)>& draw);
    // The font that texts are written in now.
    QFont font() const;

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

namespace testing {
// Test seam: the hook runs each time a screen's image goes on a page, with that screen and the
// image, while the screen still shows what the page shows. An empty hook removes it.
using PrintedPageHook = std::function<void(QWidget& screen, const QImage& image)>;
void setPrintedPageHook(PrintedPageHook hook);

// Test seam: while the hook is set, a canvas job keeps a copy of each page, drawn at `scale` image
// pixels per printer pixel, with the texts written on it in order; the hook runs as the page ends.
struct CanvasPage {
    QImage image;
    QStringList texts;
    double scale = 1.0;
};
using CanvasPageHook = std::function<void(const CanvasPage& page)>;
void setCanvasPageHook(CanvasPageHook hook);
}  // namespace testing

}  // namespace platform
