// Straight-alpha colour to the bytes the file formats store.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster.h"

namespace artgen {

struct Bgra {
  uint8_t b, g, r, a;
};

inline uint8_t ToByte(float channel) {
  // Also catches NaN, which would otherwise survive the clamp.
  if (!(channel > 0.0f)) return 0;
  return static_cast<uint8_t>(std::lround(std::min(channel, 1.0f) * 255.0f));
}

// Hidden pixels keep no stray colour, which also keeps files stable.
inline Bgra ToBgra(const Rgba& p) {
  const uint8_t alpha = ToByte(p.a);
  if (alpha == 0) return {0, 0, 0, 0};
  return {ToByte(p.b), ToByte(p.g), ToByte(p.r), alpha};
}

}  // namespace artgen
