#pragma once
// A decoded picture as the image list takes it: 32 bits per pixel in the
// order blue, green, red, alpha, rows from the top. Portable.
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace nestova::imagelist {

// No reader makes a picture larger than this: a file that claims more is
// refused before any pixel buffer is sized from it.
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 26;  // 64 Mpixels

struct Picture {
  int width = 0;
  int height = 0;
  // True when the source carries per-pixel alpha: the alpha bytes are as
  // decoded (straight, not premultiplied). False when it carries none: then
  // every alpha byte is 0.
  bool hasAlpha = false;
  std::vector<uint8_t> bgra;  // width * height * 4 bytes
};

// Raised by every reader for data it cannot decode.
class DecodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace nestova::imagelist
