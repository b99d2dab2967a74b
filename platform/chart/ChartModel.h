#pragma once
// What the chart shows: the titles, the value-axis scale, the series over the points, their
// legends and the category labels. The control fills it through its operations; the painter
// draws it.
#include <QString>
#include <array>
#include <vector>

namespace platform {

enum class ChartTitleIndex { ValueAxis = 0, Right = 1, Subject = 2, CategoryAxis = 3 };

struct ChartModel {
    std::array<QString, 4> titles;  // indexed by ChartTitleIndex
    double axisMin = 0;
    double axisMax = 100;
    double axisStep = 10;
    int decimals = 0;      // decimals of the value-axis labels
    int legendWidth = 0;   // width of the series legend; 0 hides it
    int fixedGap = 0;      // gap between two groups of bars

    int seriesCount = 0;
    int pointCount = 0;
    std::vector<std::vector<double>> values;  // [series][point]; NaN where nothing was written
    std::vector<QString> seriesLegends;       // [series]
    std::vector<QString> pointLegends;        // [point]

    // Opens a fresh set of values: every value unwritten, every legend empty. Negative counts
    // count as 0.
    void openData(int series, int points);
    bool hasValue(int series, int point) const;
    double value(int series, int point) const;  // NaN when not written or out of range
    void setValue(int series, int point, double v);          // ignored out of range
    void setSeriesLegend(int series, const QString& text);   // ignored out of range
    void setPointLegend(int point, const QString& text);     // ignored out of range
    QString seriesLegend(int series) const;
    QString pointLegend(int point) const;
};

}  // namespace platform
