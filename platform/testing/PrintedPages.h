#pragma once
// Test helper: watches the pages of print jobs while they are drawn. For its lifetime it keeps the
// image of every page that shows a screen, and a copy of every page drawn on the printer canvas
// with its texts; printOnce runs a test's one print job and returns what the test read from the
// widgets at the moment each page was drawn.
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <source_location>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Printing.h"
#include "platform/testing/DialogScript.h"

namespace platform::testing {

class PrintedPages {
public:
    PrintedPages() {
        setPrintedPageHook([this](QWidget& screen, const QImage& image) {
            images_.push_back(image);
            if (onPage_) onPage_(screen);
        });
        setCanvasPageHook([this](const CanvasPage& page) { canvasPages_.push_back(page); });
    }
    ~PrintedPages() {
        setPrintedPageHook({});
        setCanvasPageHook({});
    }
    PrintedPages(const PrintedPages&) = delete;
    PrintedPages& operator=(const PrintedPages&) = delete;

    // The test's one print job: printing goes to the PDF file `pdf` while `press` presses the
    // screen's print button. Returns what `read` read from the widgets as each page was drawn. The
    // test fails unless this was the first print job since the dialog script was cleared.
    template <class Press, class Read>
    auto printOnce(const QString& pdf, Press press, Read read,
                   std::source_location where = std::source_location::current()) {
        const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "printOnce");
        std::vector<std::invoke_result_t<Read&, QWidget&>> pages;
        onPage_ = [&](QWidget& screen) { pages.push_back(read(screen)); };
        DialogScript::printToPdf(pdf);
        press();
        DialogScript::printToPdf(QString());
        onPage_ = {};
        EXPECT_EQ(DialogScript::printJobCount(), 1);
        return pages;
    }

    // A job that shows no screen, such as the chart with its texts: see canvasPage.
    template <class Press>
    void printOnce(const QString& pdf, Press press, std::source_location where = std::source_location::current()) {
        (void)printOnce(
            pdf, press, [](QWidget&) { return 0; }, where);
    }

    int count() const { return static_cast<int>(images_.size()); }
    const QImage& image(int page) const { return images_.at(static_cast<std::size_t>(page)); }

    // Whether the part of page `page` where `part` (or the rectangle `within` of it) lies on
    // `screen` holds dark marks, such as the part's text.
    bool showsInk(int page, const QWidget& screen, const QWidget& part, QRect within = {}) const {
        const QImage& img = image(page);
        const qreal scale = img.devicePixelRatio();
        if (within.isNull()) within = part.rect();
        const QRect area(part.mapTo(&screen, within.topLeft()), within.size());
        return inkIn(img, area, scale);
    }

    int canvasPageCount() const { return static_cast<int>(canvasPages_.size()); }
    const CanvasPage& canvasPage(int page) const { return canvasPages_.at(static_cast<std::size_t>(page)); }

    // Whether the rectangle `area` of canvas page `page`, in printer pixels, holds dark marks.
    bool canvasShowsInk(int page, const QRect& area) const {
        return inkIn(canvasPage(page).image, area, canvasPage(page).scale);
    }

private:
    // Whether `area`, drawn at `scale` image pixels per unit, holds a dark pixel of `img`.
    static bool inkIn(const QImage& img, const QRect& area, qreal scale) {
        const QRect pixels = QRect(QPoint(int(area.left() * scale), int(area.top() * scale)), area.size() * scale)
                                 .intersected(img.rect());
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                if (qGray(img.pixel(x, y)) < 96) return true;
        return false;
    }

    std::function<void(QWidget& screen)> onPage_;
    std::vector<QImage> images_;
    std::vector<CanvasPage> canvasPages_;
};

}  // namespace platform::testing
