#pragma once
// Printing on the default printer; without one, the user is asked for a PDF file name.
#include <QFont>
#include <QRect>
#include <QString>
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
    QPainter& painter();

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace platform
