#include "platform/chart/ChartPainter.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/chart/AxisTicks.h"

namespace platform {

namespace {

const QColor kInk(0x26, 0x2b, 0x33);
const QColor kAxis(0x6b, 0x72, 0x7c);
const QColor kGrid(0xdf, 0xe3, 0xe8);
const QColor kPlotBackground(0xff, 0xff, 0xff);
const QColor kBackground(0xfa, 0xfb, 0xfc);

double resolutionScale(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const int dpi = device ? device->logicalDpiY() : 96;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

QFont chartFont(double points, bool bold = false) {
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Places the parts of the chart inside the rectangle, from the outside in.
struct ChartLayout {
    QRectF subject;
    QRectF valueTitle;     // unrotated: the strip left of the labels
    QRectF categoryTitle;
    QRectF legend;
    QRectF plot;
    std::vector<double> ticks;
    bool rotatedCategories = false;
    int categoryEvery = 1;  // every n-th category gets its label
};

class Painter {
public:
    Painter(QPainter& p, const QRect& rect, const ChartModel& model, ChartKind kind, bool fillBackground)
        : p_(p), rect_(rect), m_(model), kind_(kind), fillBackground_(fillBackground), s_(resolutionScale(p)),
          scale_(usableScale(model.axisMin, model.axisMax, model.axisStep)),
          titleFont_(chartFont(11, true)), axisTitleFont_(chartFont(9, true)), labelFont_(chartFont(8)) {}

    void paint() {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.setRenderHint(QPainter::TextAntialiasing, true);
        p_.setClipRect(rect_);
        if (fillBackground_) p_.fillRect(rect_, kBackground);
        layout();
        drawTitles();
        drawPlotFrameAndGrid();
        p_.save();
        p_.setClipRect(lay_.plot.adjusted(0, -px(1), 0, 0));
        if (kind_ == ChartKind::Bars) drawBars(); else drawLines();
        p_.restore();
        drawAxes();
        drawCategoryLabels();
        drawLegend();
        p_.restore();
    }

private:
    double px(double screenPixels) const { return screenPixels * s_; }

    double lineHeight(const QFont& font) const { return QFontMetricsF(font, p_.device()).height(); }
    double textWidth(const QFont& font, const QString& text) const {
        return QFontMetricsF(font, p_.device()).horizontalAdvance(text);
    }

    bool legendShown() const { return m_.legendWidth > 0 && m_.seriesCount > 0; }
    QString title(ChartTitleIndex i) const { return m_.titles[static_cast<std::size_t>(i)]; }

    void layout() {
        QRectF area = QRectF(rect_).adjusted(px(10), px(8), -px(12), -px(8));
        if (!title(ChartTitleIndex::Subject).isEmpty()) {
            const double h = lineHeight(titleFont_);
            lay_.subject = QRectF(area.left(), area.top(), area.width(), h);
            area.setTop(area.top() + h + px(8));
        }
        if (legendShown()) {
            const double w = std::min(px(m_.legendWidth) + px(20), area.width() / 3);
            lay_.legend = QRectF(area.right() - w, area.top(), w, area.height());
            area.setRight(area.right() - w - px(8));
        }
        if (!title(ChartTitleIndex::CategoryAxis).isEmpty()) {
            const double h = lineHeight(axisTitleFont_);
            lay_.categoryTitle = QRectF(area.left(), area.bottom() - h, area.width(), h);
            area.setBottom(area.bottom() - h - px(4));
        }
        if (!title(ChartTitleIndex::ValueAxis).isEmpty()) {
            const double h = lineHeight(axisTitleFont_);
            lay_.valueTitle = QRectF(area.left(), area.top(), h, area.height());
            area.setLeft(area.left() + h + px(6));
        }
        const double labelHeight = lineHeight(labelFont_);
        const double firstPlotHeight = area.height() - labelHeight - px(8);
        lay_.ticks = axisTicks(scale_, maxTicks(firstPlotHeight));
        double labelWidth = 0;
        for (double t : lay_.ticks) labelWidth = std::max(labelWidth, textWidth(labelFont_, axisLabel(t, m_.decimals)));
        QRectF plot = area;
        plot.setLeft(area.left() + labelWidth + px(8));

        const int points = std::max(m_.pointCount, 1);
        const double categoryWidth = plot.width() / points;
        double widest = 0;
        for (const QString& label : m_.pointLegends) widest = std::max(widest, textWidth(labelFont_, label));
        lay_.rotatedCategories = widest > categoryWidth - px(4);
        double categoryLabels = labelHeight + px(8);
        if (lay_.rotatedCategories) {
            categoryLabels = widest + px(10);
            lay_.categoryEvery = std::max(1, static_cast<int>(std::ceil(labelHeight * 1.1 / std::max(categoryWidth, 1.0))));
        }
        plot.setBottom(area.bottom() - categoryLabels);
        plot.setTop(plot.top() + labelHeight / 2);  // room for the top label
        lay_.plot = plot;
        lay_.ticks = axisTicks(scale_, maxTicks(plot.height()));
    }

    int maxTicks(double plotHeight) const {
        const double spacing = lineHeight(labelFont_) * 1.8;
        return std::max(2, static_cast<int>(plotHeight / spacing) + 1);
    }

    double yOf(double v) const {
        const double f = (v - scale_.min) / (scale_.max - scale_.min);
        return lay_.plot.bottom() - f * lay_.plot.height();
    }
    double categoryWidth() const { return lay_.plot.width() / std::max(m_.pointCount, 1); }
    double categoryCenter(int point) const { return lay_.plot.left() + (point + 0.5) * categoryWidth(); }

    void drawTitles() {
        p_.setPen(kInk);
        if (!lay_.subject.isEmpty()) {
            p_.setFont(titleFont_);
            p_.drawText(lay_.subject, Qt::AlignCenter, title(ChartTitleIndex::Subject));
        }
        p_.setFont(axisTitleFont_);
        if (!lay_.categoryTitle.isEmpty()) {
            p_.drawText(QRectF(lay_.plot.left(), lay_.categoryTitle.top(), lay_.plot.width(), lay_.categoryTitle.height()),
                        Qt::AlignCenter, title(ChartTitleIndex::CategoryAxis));
        }
        if (!lay_.valueTitle.isEmpty()) {
            p_.save();
            const QPointF center(lay_.valueTitle.center().x(), lay_.plot.center().y());
            p_.translate(center);
            p_.rotate(-90);
            const double w = lay_.valueTitle.height();
            const double h = lay_.valueTitle.width();
            p_.drawText(QRectF(-w / 2, -h / 2, w, h), Qt::AlignCenter, title(ChartTitleIndex::ValueAxis));
            p_.restore();
        }
    }

    void drawPlotFrameAndGrid() {
        p_.fillRect(lay_.plot, kPlotBackground);
        p_.setFont(labelFont_);
        const double labelHeight = lineHeight(labelFont_);
        for (double t : lay_.ticks) {
            const double y = yOf(t);
            p_.setPen(QPen(kGrid, px(1)));
            p_.drawLine(QPointF(lay_.plot.left(), y), QPointF(lay_.plot.right(), y));
            p_.setPen(kInk);
            const QRectF label(rect_.left(), y - labelHeight / 2, lay_.plot.left() - px(6) - rect_.left(), labelHeight);
            p_.drawText(label, Qt::AlignRight | Qt::AlignVCenter, axisLabel(t, m_.decimals));
        }
    }

    void drawAxes() {
        p_.setPen(QPen(kAxis, px(1)));
        p_.drawLine(lay_.plot.bottomLeft(), lay_.plot.topLeft());
        const double base = yOf(baseline());
        p_.drawLine(QPointF(lay_.plot.left(), base), QPointF(lay_.plot.right(), base));
        for (int i = 0; i <= m_.pointCount; ++i) {
            const double x = lay_.plot.left() + i * categoryWidth();
            p_.drawLine(QPointF(x, base), QPointF(x, base + px(3)));
        }
    }

    // Bars grow from 0, or from the axis minimum when 0 lies outside the axis.
    double baseline() const { return std::clamp(0.0, scale_.min, scale_.max); }

    void drawBars() {
        if (m_.seriesCount <= 0) return;
        const double cw = categoryWidth();
        const double gap = std::min(px(m_.fixedGap), cw * 0.4);
        const double barWidth = (cw - gap) / m_.seriesCount;
        const double base = yOf(baseline());
        for (int point = 0; point < m_.pointCount; ++point) {
            for (int series = 0; series < m_.seriesCount; ++series) {
                if (!m_.hasValue(series, point)) continue;
                const double x = lay_.plot.left() + point * cw + gap / 2 + series * barWidth;
                const double y = yOf(m_.value(series, point));
                QRectF bar(QPointF(x, std::min(y, base)), QPointF(x + barWidth, std::max(y, base)));
                const QColor color = seriesColor(series);
                p_.fillRect(bar, color);
                if (barWidth > px(4)) {
                    p_.setPen(QPen(color.darker(130), px(0.75)));
                    p_.setBrush(Qt::NoBrush);
                    p_.drawRect(bar);
                }
            }
        }
    }

    void drawLines() {
        const double radius = px(3);
        for (int series = 0; series < m_.seriesCount; ++series) {
            const QColor color = seriesColor(series);
            QPainterPath path;
            bool open = false;
            std::vector<QPointF> marks;
            for (int point = 0; point < m_.pointCount; ++point) {
                if (!m_.hasValue(series, point)) {
                    open = false;
                    continue;
                }
                const QPointF at(categoryCenter(point), yOf(m_.value(series, point)));
                if (open) path.lineTo(at); else path.moveTo(at);
                open = true;
                marks.push_back(at);
            }
            p_.setBrush(Qt::NoBrush);
            p_.setPen(QPen(color, px(2), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p_.drawPath(path);
            p_.setBrush(color);
            p_.setPen(QPen(Qt::white, px(1)));
            for (const QPointF& at : marks) p_.drawEllipse(at, radius, radius);
        }
    }

    void drawCategoryLabels() {
        p_.setFont(labelFont_);
        p_.setPen(kInk);
        const double labelHeight = lineHeight(labelFont_);
        const double cw = categoryWidth();
        for (int point = 0; point < m_.pointCount; point += lay_.categoryEvery) {
            const QString label = m_.pointLegend(point);
            if (label.isEmpty()) continue;
            const double x = categoryCenter(point);
            const double top = lay_.plot.bottom() + px(5);
            if (!lay_.rotatedCategories) {
                p_.drawText(QRectF(x - cw / 2, top, cw, labelHeight), Qt::AlignHCenter | Qt::AlignTop, label);
                continue;
            }
            p_.save();
            p_.translate(x, top);
            p_.rotate(-90);
            const double w = textWidth(labelFont_, label) + px(2);
            p_.drawText(QRectF(-w, -labelHeight / 2, w, labelHeight), Qt::AlignRight | Qt::AlignVCenter, label);
            p_.restore();
        }
    }

    void drawLegend() {
        if (!legendShown()) return;
        p_.setFont(labelFont_);
        const double rowHeight = lineHeight(labelFont_) * 1.5;
        const double swatch = px(10);
        const double height = rowHeight * m_.seriesCount + px(8);
        QRectF box(lay_.legend.left(), lay_.plot.center().y() - height / 2, lay_.legend.width(), height);
        p_.setPen(QPen(kGrid, px(1)));
        p_.setBrush(kPlotBackground);
        p_.drawRect(box);
        for (int series = 0; series < m_.seriesCount; ++series) {
            const double top = box.top() + px(4) + series * rowHeight;
            const QRectF mark(box.left() + px(6), top + (rowHeight - swatch) / 2, swatch, swatch);
            p_.fillRect(mark, seriesColor(series));
            const QRectF text(mark.right() + px(5), top, box.right() - mark.right() - px(8), rowHeight);
            p_.setPen(kInk);
            const QString elided = QFontMetricsF(labelFont_, p_.device()).elidedText(m_.seriesLegend(series), Qt::ElideRight, text.width());
            p_.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, elided);
        }
    }

    QPainter& p_;
    QRect rect_;
    const ChartModel& m_;
    ChartKind kind_;
    bool fillBackground_;
    double s_;
    AxisScale scale_;
    QFont titleFont_;
    QFont axisTitleFont_;
    QFont labelFont_;
    ChartLayout lay_;
};

}  // namespace

QColor seriesColor(int series) {
    static const QColor colors[] = {QColor(0x1f, 0x4e, 0x79), QColor(0x6f, 0xa8, 0xdc), QColor(0xe0, 0x7b, 0x2c),
                                    QColor(0x4d, 0x8b, 0x4a), QColor(0x8e, 0x5a, 0x9b)};
    const int n = static_cast<int>(std::size(colors));
    return colors[((series % n) + n) % n];
}

void paintChart(QPainter& painter, const QRect& rect, const ChartModel& model, ChartKind kind,
                bool fillBackground) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    Painter(painter, rect, model, kind, fillBackground).paint();
}

}  // namespace platform
