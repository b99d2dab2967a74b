#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QToolBar>
#include <cmath>

#include "platform/chart/AxisTicks.h"
#include "platform/chart/ChartControl.h"
#include "runtime/NumberText.h"

using platform::AxisScale;
using platform::ChartControl;
using platform::ChartKind;

namespace {

// Three series of twelve points, as the chart screen hands them over.
void fill(ChartControl& chart, int points = 12) {
    chart.ChartTitle(0, QStringLiteral("Cummulative # of Excess Cases"));
    chart.ChartTitle(2, QStringLiteral("PM10  2003  Total mortality"));
    chart.ChartTitle(3, QStringLiteral("concentrations in \u00b5g/m3"));
    chart.ChartAxisScale(0, 0);
    chart.ChartAxisScale(1, 105);
    chart.ChartAxisScale(2, 10);
    chart.Decimals(0);
    chart.LegendWidth(80);
    chart.FixedGap(10);
    chart.ChartOpenData(1, 3, points);
    for (short s = 0; s < 3; ++s) {
        chart.ThisSerie(s);
        chart.ChartSeriesLegend(s, QStringLiteral("rr=1.06%1").arg(s));
        for (short p = 0; p < points; ++p) {
            chart.ChartValue(p, (p + 1) * 8.0 - s * 2);
            if (s == 0) chart.ChartPointLegend(p, QString::number((p + 1) * 10));
        }
    }
    chart.ChartCloseData(1);
}

// The share of pixels in the colour of a series (bars or lines).
double seriesShare(const QImage& image, int series) {
    const QRgb wanted = platform::seriesColor(series).rgb();
    long long hits = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (wanted & 0xffffff)) ++hits;
    return static_cast<double>(hits) / (static_cast<double>(image.width()) * image.height());
}

}  // namespace

TEST(ChartAxis, RangeWithoutExtentGrowsByOneStep) {
    const AxisScale s = platform::usableScale(1.0, 1.0, 0.1);
    EXPECT_DOUBLE_EQ(s.min, 1.0);
    EXPECT_DOUBLE_EQ(s.step, 0.1);
    EXPECT_NEAR(s.max, 1.1, 1e-12);

    const AxisScale broken = platform::usableScale(0, NAN, 0);
    EXPECT_GT(broken.step, 0);
    EXPECT_GT(broken.max, broken.min);
}

TEST(ChartAxis, TicksRunInStepsUpToTheMaximum) {
    const auto ticks = platform::axisTicks({0, 105, 10}, 50);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_DOUBLE_EQ(ticks.front(), 0);
    EXPECT_DOUBLE_EQ(ticks.back(), 100);

    const auto small = platform::axisTicks({0, 0.305, 0.01}, 100);
    ASSERT_EQ(small.size(), 31u);
    EXPECT_NEAR(small.back(), 0.30, 1e-12);
}

TEST(ChartAxis, CrowdedTicksKeepWholeMultiplesOfTheStep) {
    // Relative risks up to 46.7 with the step 0.1: 468 values do not fit in 10 labels.
    const auto ticks = platform::axisTicks({1.0, 46.7, 0.1}, 10);
    ASSERT_LE(ticks.size(), 10u);
    ASSERT_GE(ticks.size(), 5u);
    const double every = (ticks[1] - ticks[0]) / 0.1;
    EXPECT_NEAR(every, std::round(every), 1e-6);
    EXPECT_DOUBLE_EQ(ticks[0], 1.0);
}

TEST(ChartAxis, LabelsUseTheDecimalsAndTheUserSeparator) {
    runtime::setDecimalSeparator(',');
    EXPECT_EQ(platform::axisLabel(0.30000000000000004, 2), QStringLiteral("0,30"));
    EXPECT_EQ(platform::axisLabel(20000, 0), QStringLiteral("20000"));
    runtime::setDecimalSeparator('.');
    EXPECT_EQ(platform::axisLabel(1.5, 1), QStringLiteral("1.5"));
}

TEST(ChartControlData, ValuesGoToTheCurrentSeriesAndReopeningClearsThem) {
    ChartControl chart;
    fill(chart);
    const auto& m = chart.model();
    EXPECT_EQ(m.seriesCount, 3);
    EXPECT_EQ(m.pointCount, 12);
    EXPECT_DOUBLE_EQ(m.value(0, 0), 8.0);
    EXPECT_DOUBLE_EQ(m.value(2, 11), 92.0);
    EXPECT_EQ(m.seriesLegend(1), QStringLiteral("rr=1.061"));
    EXPECT_EQ(m.pointLegend(11), QStringLiteral("120"));
    EXPECT_FALSE(chart.dataOpen());

    chart.ChartOpenData(1, 3, 2);
    chart.ThisSerie(1);
    chart.ChartValue(5, 1.0);   // beyond the points opened: ignored
    chart.ChartValue(-1, 1.0);
    chart.ThisSerie(7);
    chart.ChartValue(0, 1.0);   // no such series: ignored
    chart.ChartCloseData(1);
    EXPECT_EQ(chart.model().pointCount, 2);
    EXPECT_FALSE(chart.model().hasValue(0, 0));
    EXPECT_FALSE(chart.model().hasValue(1, 1));
    EXPECT_TRUE(chart.model().pointLegend(0).isEmpty());
}

TEST(ChartControlData, PropertiesReadBackAsSet) {
    ChartControl chart;
    chart.Decimals(3);
    chart.LegendWidth(80);
    chart.FixedGap(10);
    chart.ChartAxisScale(0, 1.0);
    chart.ChartAxisScale(1, 2.5);
    chart.ChartAxisScale(2, 0.1);
    chart.ChartAxisScale(9, 99);  // no such setting
    EXPECT_EQ(chart.Decimals(), 3);
    EXPECT_EQ(chart.LegendWidth(), 80);
    EXPECT_EQ(chart.FixedGap(), 10);
    EXPECT_DOUBLE_EQ(chart.model().axisMin, 1.0);
    EXPECT_DOUBLE_EQ(chart.model().axisMax, 2.5);
    EXPECT_DOUBLE_EQ(chart.model().axisStep, 0.1);
}

TEST(ChartDrawing, BarsAndLinesShowEverySeries) {
    ChartControl chart;
    fill(chart);
    const QImage bars = chart.chartImage(QSize(723, 393));
    for (int s = 0; s < 3; ++s) EXPECT_GT(seriesShare(bars, s), 0.005) << "series " << s;

    chart.setKind(ChartKind::Lines);
    const QImage lines = chart.chartImage(QSize(723, 393));
    for (int s = 0; s < 3; ++s) EXPECT_GT(seriesShare(lines, s), 0.0005) << "series " << s;
    EXPECT_LT(seriesShare(lines, 0), seriesShare(bars, 0));
}

TEST(ChartDrawing, PrinterResolutionKeepsTheProportions) {
    ChartControl chart;
    fill(chart);
    const QImage screen = chart.chartImage(QSize(723, 393));

    // The same chart on a 384-dpi device, four times the pixels each way.
    QImage page(723 * 4, 393 * 4 + 300, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(15118);
    page.setDotsPerMeterY(15118);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        EXPECT_EQ(chart.ChartPaint(painter, 0, 300, 723 * 4, 300 + 393 * 4, 1, 0), 0);
    }
    const QImage printed = page.copy(0, 300, 723 * 4, 393 * 4);
    for (int s = 0; s < 3; ++s) EXPECT_NEAR(seriesShare(printed, s), seriesShare(screen, s), 0.25 * seriesShare(screen, s));
    // Nothing is drawn above the rectangle.
    EXPECT_EQ(seriesShare(page.copy(0, 0, 723 * 4, 300), 0), 0.0);
}

TEST(ChartDrawing, OddInputsDrawWithoutFailing) {
    ChartControl chart;
    chart.ChartOpenData(1, 3, 0);  // no class holds data
    chart.ChartCloseData(1);
    EXPECT_FALSE(chart.chartImage(QSize(300, 200)).isNull());

    chart.ChartAxisScale(0, 1.0);  // relative risks that are all 1
    chart.ChartAxisScale(1, 1.0);
    chart.ChartAxisScale(2, 0.1);
    chart.ChartOpenData(1, 3, 25);
    for (short s = 0; s < 3; ++s) {
        chart.ThisSerie(s);
        for (short p = 0; p < 25; ++p) chart.ChartValue(p, 1.0);
    }
    chart.ChartCloseData(1);
    EXPECT_FALSE(chart.chartImage(QSize(723, 393)).isNull());
    QPainter idle;  // an empty rectangle paints nothing
    EXPECT_EQ(chart.ChartPaint(idle, 10, 10, 10, 50, 1, 0), -1);
}

TEST(ChartToolBar, CopiesTheImageAndSwitchesTheKind) {
    ChartControl chart;
    chart.resize(723, 393);
    chart.ToolBar(true);
    EXPECT_TRUE(chart.ToolBar());
    EXPECT_FALSE(chart.toolBar()->isHidden());
    fill(chart);

    chart.linesAction()->trigger();
    EXPECT_EQ(chart.kind(), ChartKind::Lines);
    chart.barsAction()->trigger();
    EXPECT_EQ(chart.kind(), ChartKind::Bars);

    QApplication::clipboard()->clear();
    chart.copyAction()->trigger();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_GT(seriesShare(copied, 0), 0.001);
}
