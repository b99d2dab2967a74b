#pragma once
// Test helper: watches the pages of print jobs while they are drawn. For its lifetime it keeps the
// image of every page that shows a screen, and runs `onPage` at the moment that page is drawn, so
// that a test reads the widgets as the printed page shows them.
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Printing.h"

namespace platform::testing {

class PrintedPages {
public:
    explicit PrintedPages(std::function<void(QWidget& screen)> onPage = {}) : onPage_(std::move(onPage)) {
        setPrintedPageHook([this](QWidget& screen, const QImage& image) {
            images_.push_back(image);
            if (onPage_) onPage_(screen);
        });
    }
    ~PrintedPages() { setPrintedPageHook({}); }
    PrintedPages(const PrintedPages&) = delete;
    PrintedPages& operator=(const PrintedPages&) = delete;

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
