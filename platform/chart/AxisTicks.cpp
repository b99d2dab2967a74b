#include "platform/chart/AxisTicks.h"

#include <algorithm>
#include <cmath>

#include "runtime/NumberText.h"

namespace platform {

AxisScale usableScale(double min, double max, double step) {
    AxisScale s;
    s.min = std::isfinite(min) ? min : 0.0;
    const bool maxUsable = std::isfinite(max) && max > s.min;
    if (std::isfinite(step) && step > 0) {
        s.step = step;
    } else {
        s.step = maxUsable ? (max - s.min) / 10 : 1.0;
    }
    s.max = maxUsable ? max : s.min + s.step;
    return s;
}

std::vector<double> axisTicks(const AxisScale& scale, int maxTicks) {
    std::vector<double> ticks;
    if (maxTicks < 1) maxTicks = 1;
    const double intervals = std::floor((scale.max - scale.min) / scale.step + 1e-9);
    if (!std::isfinite(intervals) || intervals < 0) {
        ticks.push_back(scale.min);
        return ticks;
    }
    const double count = intervals + 1;
    const double every = std::max(1.0, std::ceil(count / maxTicks));
    for (double i = 0; i <= intervals; i += every) {
        double v = scale.min + i * scale.step;
        if (std::fabs(v) < scale.step * 1e-9) v = 0;  // no "-0" from rounding noise
        ticks.push_back(v);
    }
    return ticks;
}

QString axisLabel(double value, int decimals) {
    return QString::fromStdString(runtime::formatFixed(value, 15, std::clamp(decimals, 0, 15)));
}

}  // namespace platform
