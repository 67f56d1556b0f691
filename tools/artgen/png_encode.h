// Writes images as PNG files, the form Windows expects for 256 px icon frames.
#pragma once

#include <cstdint>
#include <vector>

#include "raster.h"

namespace artgen {

// 8-bit RGBA, non-interlaced, every row unfiltered, deflated with zlib.
// Fully transparent pixels are stored as 0, 0, 0, 0 so files stay stable.
std::vector<uint8_t> EncodePng(const Image& image);

}  // namespace artgen
