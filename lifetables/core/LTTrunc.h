#pragma once
// Ages and years of the life tables as whole numbers.
#include <cstdint>

namespace lifetables {

// The integer part of a value, truncated toward zero. Values beyond the 32-bit range give its
// nearest end; a value that is not a number gives 0.
std::int32_t gl_LTtrunc(double value);

// The single years of age from `from` to `until` (both inclusive, each taken as its integer part);
// zero or less when `until` lies below `from`.
std::int64_t ltSingleAgeSpan(double from, double until);

}  // namespace lifetables
