#include "platform/chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {
constexpr double kUnwritten = std::numeric_limits<double>::quiet_NaN();

bool inRange(int index, int count) { return index >= 0 && index < count; }
}  // namespace

void ChartModel::openData(int series, int points) {
    seriesCount = std::max(series, 0);
    pointCount = std::max(points, 0);
    values.assign(static_cast<std::size_t>(seriesCount),
                  std::vector<double>(static_cast<std::size_t>(pointCount), kUnwritten));
    seriesLegends.assign(static_cast<std::size_t>(seriesCount), QString());
    pointLegends.assign(static_cast<std::size_t>(pointCount), QString());
}

bool ChartModel::hasValue(int series, int point) const { return !std::isnan(value(series, point)); }

double ChartModel::value(int series, int point) const {
    if (!inRange(series, seriesCount) || !inRange(point, pointCount)) return kUnwritten;
    return values[static_cast<std::size_t>(series)][static_cast<std::size_t>(point)];
}

void ChartModel::setValue(int series, int point, double v) {
    if (!inRange(series, seriesCount) || !inRange(point, pointCount)) return;
    values[static_cast<std::size_t>(series)][static_cast<std::size_t>(point)] = v;
}

void ChartModel::setSeriesLegend(int series, const QString& text) {
    if (inRange(series, seriesCount)) seriesLegends[static_cast<std::size_t>(series)] = text;
}

void ChartModel::setPointLegend(int point, const QString& text) {
    if (inRange(point, pointCount)) pointLegends[static_cast<std::size_t>(point)] = text;
}

QString ChartModel::seriesLegend(int series) const {
    return inRange(series, seriesCount) ? seriesLegends[static_cast<std::size_t>(series)] : QString();
}

QString ChartModel::pointLegend(int point) const {
    return inRange(point, pointCount) ? pointLegends[static_cast<std::size_t>(point)] : QString();
}

}  // namespace platform
