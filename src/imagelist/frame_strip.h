#pragma once
// Icon frames of one size side by side, so that the system image list takes
// many in one call: adding them one at a time costs more than reading their
// files. Portable; the image list turns the strip into bitmaps.
#include <cstdint>
#include <vector>

#include "imagelist/icon_exact_frame.h"

namespace nestova::imagelist {

class FrameStrip {
 public:
  explicit FrameStrip(int size = 0) : size_(size) {}

  int Size() const { return size_; }
  int Count() const { return count_; }
  // The frame goes to the right of those before it; it must be Size() square.
  void Add(const ExactIconFrame& frame);
  void Clear() { count_ = 0; }

  // Count() * Size() pixels wide and Size() high, rows from the top: the
  // colour in blue, green, red, alpha, and the AND mask with each row padded
  // to 16 bits, as CreateBitmap takes it.
  std::vector<uint8_t> Colour() const;
  std::vector<uint8_t> Mask() const;

 private:
  int size_;
  int count_ = 0;
  std::vector<uint8_t> colour_;  // the frames one after another, as given
  std::vector<uint8_t> mask_;
};

}  // namespace nestova::imagelist
