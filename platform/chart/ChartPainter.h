#pragma once
// The one paint routine of the chart, for the screen, an image and the printer alike. Sizes are
// given for a 96-dpi screen and scale with the resolution of the painter's device, so that a
// printed chart keeps its proportions and stays legible.
#include <QColor>
#include <QRect>

#include "platform/chart/ChartModel.h"

class QPainter;

namespace platform {

enum class ChartKind { Bars, Lines };

QColor seriesColor(int series);

// Draws the chart into `rect` (device pixels of the painter). Without `fillBackground` the chart's
// background is left as it is (white paper), so that text already written there stays readable.
void paintChart(QPainter& painter, const QRect& rect, const ChartModel& model, ChartKind kind,
                bool fillBackground = true);

}  // namespace platform
