#pragma once
// Test helper: watches the pages of print jobs while they are drawn. For its lifetime it keeps the
// image of every page that shows a screen; printOnce runs a test's one print job and returns what
// the test read from the widgets at the moment each page was drawn.
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
    }
    ~PrintedPages() { setPrintedPageHook({}); }
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

    int count() const { return static_cast<int>(images_.size()); }
    const QImage& image(int page) const { return images_.at(static_cast<std::size_t>(page)); }

    // Whether the part of page `page` where `part` lies on `screen` holds dark marks, such as the
    // part's text.
    bool showsInk(int page, const QWidget& screen, const QWidget& part) const {
        const QImage& img = image(page);
        const qreal scale = img.devicePixelRatio();
        const QRect area(part.mapTo(&screen, QPoint(0, 0)), part.size());
        const QRect pixels = QRect(QPoint(int(area.left() * scale), int(area.top() * scale)), area.size() * scale)
                                 .intersected(img.rect());
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                if (qGray(img.pixel(x, y)) < 96) return true;
        return false;
    }

private:
    std::function<void(QWidget& screen)> onPage_;
    std::vector<QImage> images_;
};

}  // namespace platform::testing
