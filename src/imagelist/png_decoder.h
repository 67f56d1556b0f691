#pragma once
// PNG decoding for the image list: the whole file in, a 32-bit blue, green,
// red, alpha picture out. Portable; inflates with zlib.
#include <cstdint>
#include <span>

#include "imagelist/picture.h"

namespace nestova::imagelist {

// Decodes every colour type, bit depth and interlacing of the format.
// Samples of 16 bits keep their high byte. Truecolour with alpha and
// greyscale with alpha keep their alpha; greyscale, truecolour and palette
// pictures with a transparency chunk get alpha 0 for the transparent key or
// the palette entry's alpha (255 past the end of its list). Every other
// picture has hasAlpha false and alpha 0 throughout. A gamma chunk corrects
// the colour samples, never alpha, for a display gamma of 2.2.
// Throws DecodeError for data it cannot decode.
Picture DecodePng(std::span<const uint8_t> data);

}  // namespace nestova::imagelist
