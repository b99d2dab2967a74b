#pragma once
// The chart control of the chart screen. The screen hands over titles, the value-axis scale and
// the values of its series through the operations below (named as the screen calls them); after
// ChartCloseData the control draws the series over the points as grouped bars or as lines. Its
// own tool bar copies the chart as an image and switches between bars and lines.
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

#include "platform/chart/ChartModel.h"
#include "platform/chart/ChartPainter.h"

class QAction;
class QPainter;
class QToolBar;

namespace platform {

class ChartCanvas;

class ChartControl : public QWidget {
    Q_OBJECT
public:
    explicit ChartControl(QWidget* parent = nullptr);

    // Properties.
    void ToolBar(bool shown);
    bool ToolBar() const;
    void Decimals(short decimals);
    short Decimals() const { return static_cast<short>(model_.decimals); }
    void ThisSerie(short series) { thisSerie_ = series; }
    short ThisSerie() const { return thisSerie_; }
    void LegendWidth(short width);
    short LegendWidth() const { return static_cast<short>(model_.legendWidth); }
    void FixedGap(short gap);
    short FixedGap() const { return static_cast<short>(model_.fixedGap); }

    // Value-axis setting: index 0 minimum, 1 maximum, 2 step.
    void ChartAxisScale(short index, double value);
    // Index 0 value-axis title, 1 right-hand title, 2 the chart's subject line, 3 category-axis title.
    void ChartTitle(short index, const QString& text);
    // Opens the values for writing: every value and legend starts empty. Returns 0.
    int ChartOpenData(short kind, int seriesCount, int pointCount);
    void ChartSeriesLegend(short series, const QString& text);
    // The value of a point of the current series (ThisSerie).
    void ChartValue(short point, double value);
    void ChartPointLegend(short point, const QString& text);
    // Closes the values and draws the chart. Returns true.
    bool ChartCloseData(short kind);
    // Paints the chart into the rectangle (left, top)-(right, bottom) of the painter's device, such
    // as a printer page. Returns 0, or -1 when the rectangle is empty.
    int ChartPaint(QPainter& device, int left, int top, int right, int bottom, short mode, int flags);

    // What the chart shows, and how.
    const ChartModel& model() const { return model_; }
    bool dataOpen() const { return dataOpen_; }
    ChartKind kind() const { return kind_; }
    void setKind(ChartKind kind);
    QImage chartImage(const QSize& size) const;
    // The chart as an image on the clipboard (the tool bar's "Copy").
    void copyToClipboard() const;

    QToolBar* toolBar() const { return toolBar_; }
    QAction* copyAction() const { return copyAction_; }
    QAction* barsAction() const { return barsAction_; }
    QAction* linesAction() const { return linesAction_; }

private:
    friend class ChartCanvas;
    void redraw();

    ChartModel model_;
    ChartKind kind_ = ChartKind::Bars;
    short thisSerie_ = 0;
    bool dataOpen_ = false;
    QToolBar* toolBar_ = nullptr;
    ChartCanvas* canvas_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* barsAction_ = nullptr;
    QAction* linesAction_ = nullptr;
};

}  // namespace platform
