#include "platform/chart/ChartControl.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

namespace platform {

// The drawing surface below the tool bar.
class ChartCanvas : public QWidget {
public:
    explicit ChartCanvas(ChartControl* chart) : QWidget(chart), chart_(chart) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(120, 80);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintChart(painter, rect(), chart_->model_, chart_->kind_);
    }

private:
    ChartControl* chart_;
};

ChartControl::ChartControl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("chartToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar_->setIconSize(QSize(16, 16));
    copyAction_ = toolBar_->addAction(tr("Copy"));
    copyAction_->setToolTip(tr("Copy the chart to the clipboard as an image"));
    connect(copyAction_, &QAction::triggered, this, [this] { copyToClipboard(); });
    toolBar_->addSeparator();
    auto* kinds = new QActionGroup(this);
    barsAction_ = toolBar_->addAction(tr("Bars"));
    barsAction_->setToolTip(tr("Show the series as bars"));
    linesAction_ = toolBar_->addAction(tr("Lines"));
    linesAction_->setToolTip(tr("Show the series as lines"));
    for (QAction* a : {barsAction_, linesAction_}) {
        a->setCheckable(true);
        kinds->addAction(a);
    }
    barsAction_->setChecked(true);
    connect(barsAction_, &QAction::triggered, this, [this] { setKind(ChartKind::Bars); });
    connect(linesAction_, &QAction::triggered, this, [this] { setKind(ChartKind::Lines); });
    toolBar_->setVisible(false);
    layout->addWidget(toolBar_);

    canvas_ = new ChartCanvas(this);
    layout->addWidget(canvas_, 1);
}

void ChartControl::ToolBar(bool shown) { toolBar_->setVisible(shown); }

bool ChartControl::ToolBar() const { return !toolBar_->isHidden(); }

void ChartControl::Decimals(short decimals) {
    model_.decimals = decimals;
    redraw();
}

void ChartControl::LegendWidth(short width) {
    model_.legendWidth = width;
    redraw();
}

void ChartControl::FixedGap(short gap) {
    model_.fixedGap = gap;
    redraw();
}

void ChartControl::ChartAxisScale(short index, double value) {
    switch (index) {
    case 0: model_.axisMin = value; break;
    case 1: model_.axisMax = value; break;
    case 2: model_.axisStep = value; break;
    default: return;
    }
    redraw();
}

void ChartControl::ChartTitle(short index, const QString& text) {
    if (index < 0 || index >= static_cast<short>(model_.titles.size())) return;
    model_.titles[static_cast<std::size_t>(index)] = text;
    redraw();
}

int ChartControl::ChartOpenData(short, int seriesCount, int pointCount) {
    model_.openData(seriesCount, pointCount);
    dataOpen_ = true;
    return 0;
}

void ChartControl::ChartSeriesLegend(short series, const QString& text) { model_.setSeriesLegend(series, text); }

void ChartControl::ChartValue(short point, double value) { model_.setValue(thisSerie_, point, value); }

void ChartControl::ChartPointLegend(short point, const QString& text) { model_.setPointLegend(point, text); }

bool ChartControl::ChartCloseData(short) {
    dataOpen_ = false;
    redraw();
    return true;
}

int ChartControl::ChartPaint(QPainter& device, int left, int top, int right, int bottom, short, int) {
    const QRect target(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (target.isEmpty()) return -1;
    // On paper the chart keeps the page white: a line written just above it stays whole.
    paintChart(device, target, model_, kind_, false);
    return 0;
}

void ChartControl::setKind(ChartKind kind) {
    kind_ = kind;
    (kind == ChartKind::Bars ? barsAction_ : linesAction_)->setChecked(true);
    redraw();
}

QImage ChartControl::chartImage(const QSize& size) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, image.rect(), model_, kind_);
    return image;
}

void ChartControl::copyToClipboard() const {
    QGuiApplication::clipboard()->setImage(chartImage(canvas_->size()));
}

void ChartControl::redraw() {
    if (!dataOpen_) canvas_->update();
}

}  // namespace platform
