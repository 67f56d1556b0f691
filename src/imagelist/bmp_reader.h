#pragma once
// Reads Windows bitmaps: BMP files and the device-independent bitmaps (DIBs)
// inside them and inside icon frames. Portable.
//
// Headers: core (12 bytes), info (40, and its 52/56-byte variants that carry
// the colour masks), v4 (108) and v5 (124). Depths 1, 4, 8, 16, 24 and 32;
// uncompressed rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) bottom-up or
// top-down, and RLE8/RLE4 (bottom-up only).
//
// Result: 32-bit sources (BI_RGB at 32 bits, or bit fields with an alpha
// mask) keep their alpha and report hasAlpha; every other source gives alpha
// 0 and hasAlpha false. Pixels that RLE data never writes stay 0 (black, alpha
// 0). A palette index beyond the palette is an error, not clamped. Bit-field
// channels narrower than 8 bits are scaled to 0..255 with rounding; wider
// ones keep their top 8 bits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "imagelist/picture.h"

namespace nestova::imagelist {

// What a DIB describes. An icon frame's header counts the colour rows and the
// 1-bit mask rows below them together, so its image is half the header's
// height; its rows are uncompressed and bottom-up.
enum class DibKind { kBitmap, kIconFrame };

struct DibInfo {
  int width = 0;
  int height = 0;  // of the colour image, always positive
  int bitCount = 0;
};

struct DibImage {
  Picture picture;
  int bitCount = 0;
  // Offset within the DIB just past the colour rows (where an icon frame's
  // mask starts); for RLE data the end of the data given to the decoder.
  size_t pixelEnd = 0;
};

// A BMP file: "BM" file header, then a DIB whose rows start where the file
// header says. Throws DecodeError for anything it cannot read.
Picture ReadBmp(std::span<const uint8_t> file);

// Reads and checks the header alone. Throws DecodeError.
DibInfo ReadDibInfo(std::span<const uint8_t> dib, DibKind kind);

// `dib` starts with the header. `pixelOffset` is where the rows start within
// `dib`; nullopt means right after the header, masks and palette (as in icon
// frames). Throws DecodeError.
DibImage ReadDib(std::span<const uint8_t> dib, DibKind kind,
                 std::optional<size_t> pixelOffset = std::nullopt);

}  // namespace nestova::imagelist
