// Printing: a screen's image on one page, the printer canvas, and the PDF file asked for when
// there is no printer.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/Printing.h"
#include "platform/testing/DialogScript.h"

using namespace platform;
using platform::testing::DialogScript;

namespace {

// The number of page objects in a PDF file written by Qt.
int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString content = QString::fromLatin1(file.readAll());
    return static_cast<int>(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

// Test print jobs go to a PDF file in a temporary folder.
struct PdfTarget {
    QTemporaryDir temp;
    QString pdf;
    explicit PdfTarget(const QString& name) : pdf(temp.filePath(name)) { DialogScript::printToPdf(pdf); }
};

TEST(Printing, ScreenImageGoesOnOnePage) {
    PdfTarget target(QStringLiteral("screen.pdf"));
    const QString& pdf = target.pdf;
    QLabel screen(QStringLiteral("Impact estimates"));
    screen.resize(540, 600);
    std::vector<QImage> seen;
    platform::testing::setPrintedPageHook([&](QWidget& printed, const QImage& image) {
        EXPECT_EQ(&printed, &screen);
        seen.push_back(image);
    });
    EXPECT_TRUE(printWidgetImage(&screen));
    platform::testing::setPrintedPageHook({});
    // The page's image is the whole screen.
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].deviceIndependentSize(), QSizeF(540, 600));
    EXPECT_EQ(DialogScript::printJobCount(), 1);
    EXPECT_EQ(DialogScript::lastPageCount(), 1);
    EXPECT_EQ(pdfPageCount(pdf), 1);

    // Every job overwrites the file.
    EXPECT_TRUE(printWidgetImage(&screen));
    EXPECT_EQ(DialogScript::printJobCount(), 2);
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST(Printing, CanvasWritesTextsOnSeveralPages) {
    PdfTarget target(QStringLiteral("chart.pdf"));
    const QString& pdf = target.pdf;
    {
        PrinterCanvas canvas;
        ASSERT_TRUE(canvas.beginDoc());
        EXPECT_GT(canvas.pageWidth(), 0);
        EXPECT_GT(canvas.pageHeight(), canvas.pageWidth());
        EXPECT_EQ(canvas.resolution(), 1200);
        canvas.textOut(75, 0, QStringLiteral("City Institute"));
        QFont italic;
        italic.setItalic(true);
        italic.setPointSize(8);
        canvas.setFont(italic);
        canvas.textOut(75, 500, QStringLiteral("Zelk - Air quality and health impact assessment tool"));
        canvas.newPage();
        canvas.paint([&](QPainter& page) { page.drawRect(QRect(0, 75, canvas.pageWidth() / 2, 200)); });
        canvas.newPage();
        canvas.endDoc();
    }
    EXPECT_EQ(DialogScript::lastPageCount(), 3);
    EXPECT_EQ(pdfPageCount(pdf), 3);
}

TEST(Printing, CanvasLeftOpenEndsItsJobWhenDestroyed) {
    PdfTarget target(QStringLiteral("open.pdf"));
    const QString& pdf = target.pdf;
    {
        PrinterCanvas canvas;
        ASSERT_TRUE(canvas.beginDoc());
        canvas.textOut(0, 0, QStringLiteral("x"));
    }
    EXPECT_EQ(DialogScript::printJobCount(), 1);
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST(Printing, WithoutPrinterThePdfFileIsAskedFor) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer is installed";
    QLabel screen(QStringLiteral("Location"));
    screen.resize(200, 100);

    DialogScript::cancelFile();
    EXPECT_FALSE(printWidgetImage(&screen));
    EXPECT_EQ(DialogScript::printJobCount(), 0);

    QTemporaryDir temp;
    DialogScript::answerFile(temp.filePath(QStringLiteral("location")));
    EXPECT_TRUE(printWidgetImage(&screen));
    EXPECT_EQ(pdfPageCount(temp.filePath(QStringLiteral("location.pdf"))), 1);
    ASSERT_EQ(DialogScript::fileDialogs().size(), 2u);
    EXPECT_EQ(DialogScript::fileDialogs()[0].options.filter, "PDF files (*.pdf)");
    EXPECT_EQ(DialogScript::fileDialogs()[0].options.defaultExt, "pdf");
}

TEST(Printing, PrinterDialogsAreAnsweredByTheScript) {
    EXPECT_TRUE(printerSetup());
    DialogScript::answerPrintDialog(false);
    EXPECT_FALSE(printDialog());
    EXPECT_EQ(DialogScript::printDialogCount(), 2);
}

}  // namespace
