#include "lifetables/core/LTTrunc.h"

#include <cmath>
#include <limits>

namespace lifetables {

std::int32_t gl_LTtrunc(double value) {
    if (std::isnan(value)) return 0;
    const double whole = std::trunc(value);
    if (whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(whole);
}

std::int64_t ltSingleAgeSpan(double from, double until) {
    return std::int64_t{gl_LTtrunc(until)} - gl_LTtrunc(from) + 1;
}

}  // namespace lifetables
