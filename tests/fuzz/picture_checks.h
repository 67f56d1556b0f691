#pragma once
// Properties every decoded picture has, whatever the reader and the input.
#include <cstdlib>

#include "imagelist/picture.h"

namespace nestova::imagelist::fuzzing {

inline void CheckPicture(const Picture& p) {
  if (p.width <= 0 || p.height <= 0) std::abort();
  const uint64_t pixels = static_cast<uint64_t>(p.width) * static_cast<uint64_t>(p.height);
  if (pixels > kMaxPicturePixels || p.bgra.size() != pixels * 4) std::abort();
  if (!p.hasAlpha) {
    for (size_t i = 3; i < p.bgra.size(); i += 4) {
      if (p.bgra[i] != 0) std::abort();
    }
  }
}

}  // namespace nestova::imagelist::fuzzing
