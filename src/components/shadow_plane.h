#pragma once
// The effect label's soft shadow: the text's shape blurred on a byte plane,
// then blended over the picture behind the label. Works on 32-bit BGRA
// pixels, rows top-down and packed (width * 4 bytes each).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "components/color.h"

namespace nestova::components {

// Larger labels get no shadow: the plane and the bitmap would cost too much.
inline constexpr std::int64_t kMaxShadowPixels = std::int64_t{1} << 24;

// Bytes of a width x height BGRA picture, or nullopt when a side is not
// positive or the picture is larger than kMaxShadowPixels.
std::optional<std::size_t> ShadowImageBytes(int width, int height);

class ShadowPlane {
 public:
  // Blurs the shape in `mask` (pixels whose blue byte is not 0) `passes`
  // times, at most 255, on a (width + 2) x (height + 2) plane whose border
  // stays 0. False, with the plane emptied, when the size is refused or the
  // mask holds fewer than width * height pixels.
  bool Build(std::span<const std::uint8_t> mask, int width, int height, int passes);

  // Blends the shadow colour into `image` (the plane's size) by the plane's
  // weight scaled by alpha; the weights stay in the plane. The background is
  // the image's own pixels, or `solidBackground` when given. The fourth byte
  // of each pixel is left alone. False when there is no plane or the image
  // is too small.
  bool Compose(std::span<std::uint8_t> image, int alpha, ColorRef shadowColor,
               std::optional<ColorRef> solidBackground);

  int width() const { return width_; }
  int height() const { return height_; }
  // The interior byte for the picture's pixel (x, y).
  std::uint8_t at(int x, int y) const {
    return bits_[static_cast<std::size_t>(y + 1) * stride() + static_cast<std::size_t>(x + 1)];
  }
  // Reused between paints; grows when a larger label needs it, never shrinks.
  std::size_t capacity() const { return bits_.capacity(); }

 private:
  std::size_t stride() const { return static_cast<std::size_t>(width_) + 2; }

  std::vector<std::uint8_t> bits_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace nestova::components
