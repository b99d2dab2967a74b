#pragma once
// The value axis: the range as it is drawn and the values that get a grid line and a label.
#include <QString>
#include <vector>

namespace platform {

struct AxisScale {
    double min = 0;
    double max = 1;
    double step = 1;
};

// The range as it can be drawn: a finite minimum, a positive step, and a maximum above the minimum
// (a range without extent, such as relative risks that all equal 1, grows by one step).
AxisScale usableScale(double min, double max, double step);

// The values min, min + step, ... up to max. When they would be more than `maxTicks`, every k-th
// of them is kept, the smallest k that fits, so the labels stay whole multiples of the step.
std::vector<double> axisTicks(const AxisScale& scale, int maxTicks);

// A value-axis label: fixed notation with the given decimals and the user's decimal separator.
QString axisLabel(double value, int decimals);

}  // namespace platform
