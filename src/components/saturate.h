#pragma once
// Label arithmetic is done wide and brought back into int at the end, so no
// property value, however odd, overflows.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace nestova::components {

inline int SaturateToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace nestova::components
