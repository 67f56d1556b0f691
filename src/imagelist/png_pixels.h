#pragma once
// Turning unfiltered PNG rows into blue, green, red, alpha pixels: palette,
// greyscale and 16-bit samples, the transparency chunk and gamma. Portable.
#include <cstddef>
#include <cstdint>
#include <span>

namespace nestova::imagelist::png {

struct ImageHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 0;
  uint8_t colourType = 0;
  bool interlaced = false;
};

// Samples per pixel of a valid colour type.
int Channels(uint8_t colourType);

// Everything the chunks before the image data say about its colours.
struct ColourChunks {
  std::span<const uint8_t> palette;       // PLTE data, type 3 only
  std::span<const uint8_t> transparency;  // a valid tRNS chunk's data, or empty
  bool hasTransparency = false;
  uint32_t gamma = 0;  // gAMA value (file gamma times 100000), 0 for none
};

// 8-bit sample corrections for a display gamma of 2.2 and a file gamma of
// gamma / 100000.
void FillGammaTable(uint32_t gamma, uint8_t (&table)[256]);

class PixelConverter {
 public:
  // The header and chunks must have been checked: a valid colour type and
  // bit depth, a palette of 1 to 256 entries for type 3.
  PixelConverter(const ImageHeader& header, const ColourChunks& chunks);

  bool HasAlpha() const { return hasAlpha_; }

  // True for 8-bit truecolour, with or without alpha, that needs neither
  // gamma nor a transparent key: its conversion is only a reordering of
  // bytes, which unfiltering can do on the way.
  bool PlainTruecolour() const { return plainTruecolour_; }

  // Converts the first `count` pixels of an unfiltered row. Reads up to 3
  // bytes past the row's last pixel. Throws DecodeError for a palette index
  // beyond the palette.
  void Convert(const uint8_t* row, uint8_t* out, uint32_t count) const {
    convert_(*this, row, out, count);
  }

  // The pieces the row functions need; filled by the constructor.
  struct Tables {
    uint32_t pixels[256];  // per sample value or palette index: the finished pixel
    uint32_t paletteSize;  // valid entries of pixels for a palette
    uint8_t gamma[256];
    uint16_t key[3];  // the transparent colour, at the file's depth
  };
  const Tables& tables() const { return tables_; }

 private:
  using RowFunction = void (*)(const PixelConverter&, const uint8_t*, uint8_t*, uint32_t);
  RowFunction convert_ = nullptr;
  bool hasAlpha_ = false;
  bool plainTruecolour_ = false;
  Tables tables_{};
};

}  // namespace nestova::imagelist::png
