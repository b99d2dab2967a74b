#pragma once
// Ages and years of the life tables as whole numbers.
#include <cstdint>

namespace lifetables {

// The integer part of a value, truncated toward zero. Values beyond the 32-bit range give its
// nearest end; a value that is not a number gives 0.
std::int32_t gl_LTtrunc(double value);

}  // namespace lifetables
