#include "imagelist/frame_strip.h"

#include <algorithm>
#include <cstddef>

namespace nestova::imagelist {
namespace {

size_t MaskRowBytes(size_t widthBits) { return (widthBits + 15) / 16 * 2; }

}  // namespace

void FrameStrip::Add(const ExactIconFrame& frame) {
  const size_t side = static_cast<size_t>(size_);
  const size_t colourBytes = side * side * 4;
  const size_t maskBytes = MaskRowBytes(side) * side;
  const size_t n = static_cast<size_t>(count_);
  // Buffers keep their room between strips; only what Count() covers counts.
  colour_.resize(std::max(colour_.size(), (n + 1) * colourBytes));
  mask_.resize(std::max(mask_.size(), (n + 1) * maskBytes));
  std::copy_n(frame.picture.bgra.begin(), colourBytes, colour_.begin() + n * colourBytes);
  std::copy_n(frame.mask.begin(), maskBytes, mask_.begin() + n * maskBytes);
  ++count_;
}

std::vector<uint8_t> FrameStrip::Colour() const {
  const size_t side = static_cast<size_t>(size_);
  const size_t n = static_cast<size_t>(count_);
  const size_t rowBytes = side * 4;
  std::vector<uint8_t> strip(n * side * side * 4);
  for (size_t f = 0; f < n; ++f) {
    for (size_t y = 0; y < side; ++y) {
      const auto from = colour_.begin() + (f * side + y) * rowBytes;
      std::copy_n(from, rowBytes, strip.begin() + (y * n + f) * rowBytes);
    }
  }
  return strip;
}

std::vector<uint8_t> FrameStrip::Mask() const {
  const size_t side = static_cast<size_t>(size_);
  const size_t n = static_cast<size_t>(count_);
  const size_t frameRow = MaskRowBytes(side);
  const size_t stripRow = MaskRowBytes(n * side);
  std::vector<uint8_t> strip(stripRow * side);
  for (size_t f = 0; f < n; ++f) {
    const uint8_t* frame = mask_.data() + f * frameRow * side;
    for (size_t y = 0; y < side; ++y) {
      for (size_t x = 0; x < side; ++x) {
        // The leftmost pixel is the highest bit of its byte.
        if ((frame[y * frameRow + x / 8] >> (7 - x % 8)) & 1) {
          const size_t at = f * side + x;
          strip[y * stripRow + at / 8] |= static_cast<uint8_t>(0x80 >> (at % 8));
        }
      }
    }
  }
  return strip;
}

}  // namespace nestova::imagelist
