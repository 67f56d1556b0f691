#include "components/shadow_plane.h"

#include <algorithm>

namespace nestova::components {

std::optional<std::size_t> ShadowImageBytes(int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const std::int64_t pixels = std::int64_t{width} * height;
  if (pixels > kMaxShadowPixels) return std::nullopt;
  return static_cast<std::size_t>(pixels) * 4;
}

bool ShadowPlane::Build(std::span<const std::uint8_t> mask, int width, int height, int passes) {
  const std::optional<std::size_t> imageBytes = ShadowImageBytes(width, height);
  if (!imageBytes || mask.size() < *imageBytes) {
    bits_.clear();  // keeps the capacity for the next paint
    width_ = height_ = 0;
    return false;
  }
  width_ = width;
  height_ = height;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const std::size_t planeStride = stride();
  bits_.assign(planeStride * (h + 2), 0);

  passes = std::clamp(passes, 0, 255);
  for (int pass = 0; pass < passes; ++pass) {
    // The shape is stamped again before every pass so the glow stays solid
    // under the letters and only fades outside them.
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* pixel = mask.data() + y * w * 4;
      std::uint8_t* row = bits_.data() + (y + 1) * planeStride + 1;
      for (std::size_t x = 0; x < w; ++x, pixel += 4) {
        if (pixel[0] != 0) row[x] = 255;
      }
    }
    // In place: the up and left neighbours already hold this pass's values.
    for (std::size_t y = 1; y <= h; ++y) {
      std::uint8_t* row = bits_.data() + y * planeStride;
      const std::uint8_t* up = row - planeStride;
      const std::uint8_t* down = row + planeStride;
      for (std::size_t x = 1; x <= w; ++x) {
        row[x] = static_cast<std::uint8_t>((up[x] + down[x] + row[x - 1] + row[x + 1]) / 4);
      }
    }
  }
  return true;
}

bool ShadowPlane::Compose(std::span<std::uint8_t> image, int alpha, ColorRef shadowColor,
                          std::optional<ColorRef> solidBackground) {
  const std::optional<std::size_t> imageBytes = ShadowImageBytes(width_, height_);
  if (!imageBytes || image.size() < *imageBytes) return false;
  alpha = std::clamp(alpha, 0, 255);
  const unsigned shadow[3] = {BlueOf(shadowColor), GreenOf(shadowColor), RedOf(shadowColor)};
  unsigned solid[3] = {};
  if (solidBackground) {
    solid[0] = BlueOf(*solidBackground);
    solid[1] = GreenOf(*solidBackground);
    solid[2] = RedOf(*solidBackground);
  }
  const std::size_t w = static_cast<std::size_t>(width_);
  const std::size_t h = static_cast<std::size_t>(height_);
  const std::size_t planeStride = stride();
  for (std::size_t y = 0; y < h; ++y) {
    std::uint8_t* weight = bits_.data() + (y + 1) * planeStride + 1;
    std::uint8_t* pixel = image.data() + y * w * 4;
    for (std::size_t x = 0; x < w; ++x, pixel += 4) {
      const unsigned a = weight[x] * static_cast<unsigned>(alpha) / 256;
      weight[x] = static_cast<std::uint8_t>(a);
      for (int c = 0; c < 3; ++c) {
        const unsigned background = solidBackground ? solid[c] : pixel[c];
        pixel[c] = static_cast<std::uint8_t>((background * (255 - a) + shadow[c] * a) / 256);
      }
    }
  }
  return true;
}

}  // namespace nestova::components
