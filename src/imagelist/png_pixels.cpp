#include "imagelist/png_pixels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "imagelist/picture.h"

namespace nestova::imagelist::png {
namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// A pixel as one 32-bit value whose bytes lie in memory as blue, green, red,
// alpha.
inline uint32_t Pack(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
  if constexpr (kLittleEndian) {
    return b | g << 8 | r << 16 | a << 24;
  } else {
    return b << 24 | g << 16 | r << 8 | a;
  }
}

inline void Store(uint8_t* out, uint32_t pixel) { std::memcpy(out, &pixel, 4); }

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline uint32_t Big16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

[[noreturn]] void ThrowIndex() { throw DecodeError("palette index out of range"); }

// Palette and greyscale of up to 8 bits: each sample picks a finished pixel.
template <int kDepth, bool kPalette>
void IndexedRow(const PixelConverter& converter, const uint8_t* row, uint8_t* out, uint32_t count) {
  const PixelConverter::Tables& t = converter.tables();
  unsigned maxIndex = 0;
  if constexpr (kDepth == 8) {
    for (uint32_t i = 0; i < count; ++i) {
      const unsigned index = row[i];
      if constexpr (kPalette) maxIndex = std::max(maxIndex, index);
      Store(out + 4 * size_t{i}, t.pixels[index]);
    }
  } else {
    constexpr unsigned kPerByte = 8 / kDepth;
    constexpr unsigned kMask = (1u << kDepth) - 1;
    for (uint32_t i = 0; i < count; ++i) {
      const unsigned shift = 8 - kDepth - (i % kPerByte) * kDepth;
      const unsigned index = (row[i / kPerByte] >> shift) & kMask;
      if constexpr (kPalette) maxIndex = std::max(maxIndex, index);
      Store(out + 4 * size_t{i}, t.pixels[index]);
    }
  }
  if (kPalette && maxIndex >= t.paletteSize) ThrowIndex();
}

template <bool kKey>
void Grey16Row(const PixelConverter& converter, const uint8_t* row, uint8_t* out, uint32_t count) {
  const PixelConverter::Tables& t = converter.tables();
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = row + 2 * size_t{i};
    const uint32_t g = t.gamma[p[0]];
    const uint32_t a = kKey ? (Big16(p) == t.key[0] ? 0 : 255) : 0;
    Store(out + 4 * size_t{i}, Pack(g, g, g, a));
  }
}

template <int kBytes>
void GreyAlphaRow(const PixelConverter& converter, const uint8_t* row, uint8_t* out,
                  uint32_t count) {
  const PixelConverter::Tables& t = converter.tables();
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = row + size_t{i} * 2 * kBytes;
    const uint32_t g = t.gamma[p[0]];
    Store(out + 4 * size_t{i}, Pack(g, g, g, p[kBytes]));
  }
}

template <int kBytes, bool kGamma, bool kKey>
void RgbRow(const PixelConverter& converter, const uint8_t* row, uint8_t* out, uint32_t count) {
  const PixelConverter::Tables& t = converter.tables();
  if constexpr (kBytes == 1 && !kGamma && !kKey && kLittleEndian) {
    // One load and a byte swap per pixel; the last load reads one byte past
    // the pixel.
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t v = Load32(row + 3 * size_t{i});
      Store(out + 4 * size_t{i}, (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF));
    }
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = row + size_t{i} * 3 * kBytes;
      uint32_t a = 0;
      if constexpr (kKey) {
        const bool match = kBytes == 1 ? p[0] == t.key[0] && p[1] == t.key[1] && p[2] == t.key[2]
                                       : Big16(p) == t.key[0] && Big16(p + 2) == t.key[1] &&
                                             Big16(p + 4) == t.key[2];
        a = match ? 0 : 255;
      }
      const uint32_t r = p[0];
      const uint32_t g = p[kBytes];
      const uint32_t b = p[size_t{2} * kBytes];
      if constexpr (kGamma) {
        Store(out + 4 * size_t{i}, Pack(t.gamma[b], t.gamma[g], t.gamma[r], a));
      } else {
        Store(out + 4 * size_t{i}, Pack(b, g, r, a));
      }
    }
  }
}

template <int kBytes, bool kGamma>
void RgbaRow(const PixelConverter& converter, const uint8_t* row, uint8_t* out, uint32_t count) {
  const PixelConverter::Tables& t = converter.tables();
  if constexpr (kBytes == 1 && !kGamma && kLittleEndian) {
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t v = Load32(row + 4 * size_t{i});
      Store(out + 4 * size_t{i}, (v & 0xFF00FF00) | (v & 0xFF) << 16 | (v >> 16 & 0xFF));
    }
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = row + size_t{i} * 4 * kBytes;
      const uint32_t r = p[0];
      const uint32_t g = p[kBytes];
      const uint32_t b = p[size_t{2} * kBytes];
      const uint32_t a = p[size_t{3} * kBytes];
      if constexpr (kGamma) {
        Store(out + 4 * size_t{i}, Pack(t.gamma[b], t.gamma[g], t.gamma[r], a));
      } else {
        Store(out + 4 * size_t{i}, Pack(b, g, r, a));
      }
    }
  }
}

template <bool kPalette>
auto IndexedFunction(uint8_t depth) {
  switch (depth) {
    case 1:
      return &IndexedRow<1, kPalette>;
    case 2:
      return &IndexedRow<2, kPalette>;
    case 4:
      return &IndexedRow<4, kPalette>;
    default:
      return &IndexedRow<8, kPalette>;
  }
}

template <int kBytes>
auto RgbFunction(bool gamma, bool key) {
  if (gamma) return key ? &RgbRow<kBytes, true, true> : &RgbRow<kBytes, true, false>;
  return key ? &RgbRow<kBytes, false, true> : &RgbRow<kBytes, false, false>;
}

}  // namespace

int Channels(uint8_t colourType) {
  switch (colourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

void FillGammaTable(uint32_t gamma, uint8_t (&table)[256]) {
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
  if (gamma == 0) return;
  const double exponent = 100000.0 / (gamma * 2.2);
  // 0 and 255 stay as they are for every exponent.
  for (int i = 1; i < 255; ++i) {
    table[i] = static_cast<uint8_t>(std::floor(255.0 * std::pow(i / 255.0, exponent) + 0.5));
  }
}

PixelConverter::PixelConverter(const ImageHeader& header, const ColourChunks& chunks) {
  Tables& t = tables_;
  FillGammaTable(chunks.gamma, t.gamma);
  bool gamma = false;
  for (int i = 0; i < 256; ++i) gamma = gamma || t.gamma[i] != i;
  const std::span<const uint8_t> trns = chunks.transparency;
  const bool key = chunks.hasTransparency && (header.colourType == 0 || header.colourType == 2);
  if (key) {
    for (size_t i = 0; i < trns.size() / 2 && i < 3; ++i) {
      t.key[i] = static_cast<uint16_t>(Big16(trns.data() + 2 * i));
    }
  }
  const uint8_t depth = header.bitDepth;
  switch (header.colourType) {
    case 0:
      hasAlpha_ = key;
      if (depth == 16) {
        convert_ = key ? &Grey16Row<true> : &Grey16Row<false>;
      } else {
        const uint32_t maxValue = (1u << depth) - 1;
        for (uint32_t v = 0; v <= maxValue; ++v) {
          const uint32_t g = t.gamma[v * 255 / maxValue];
          t.pixels[v] = Pack(g, g, g, key ? (v == t.key[0] ? 0 : 255) : 0);
        }
        convert_ = IndexedFunction<false>(depth);
      }
      break;
    case 2:
      hasAlpha_ = key;
      plainTruecolour_ = depth == 8 && !gamma && !key;
      convert_ = depth == 16 ? RgbFunction<2>(gamma, key) : RgbFunction<1>(gamma, key);
      break;
    case 3: {
      hasAlpha_ = chunks.hasTransparency;
      const std::span<const uint8_t> plte = chunks.palette;
      t.paletteSize = static_cast<uint32_t>(std::min<size_t>(plte.size() / 3, 256));
      for (uint32_t i = 0; i < t.paletteSize; ++i) {
        const uint32_t a = !hasAlpha_ ? 0 : i < trns.size() ? trns[i] : 255;
        t.pixels[i] = Pack(t.gamma[plte[size_t{3} * i + 2]], t.gamma[plte[size_t{3} * i + 1]],
                           t.gamma[plte[size_t{3} * i]], a);
      }
      convert_ = IndexedFunction<true>(depth);
      break;
    }
    case 4:
      hasAlpha_ = true;
      convert_ = depth == 16 ? &GreyAlphaRow<2> : &GreyAlphaRow<1>;
      break;
    default:
      hasAlpha_ = true;
      plainTruecolour_ = depth == 8 && !gamma;
      if (depth == 16) {
        convert_ = gamma ? &RgbaRow<2, true> : &RgbaRow<2, false>;
      } else {
        convert_ = gamma ? &RgbaRow<1, true> : &RgbaRow<1, false>;
      }
      break;
  }
}

}  // namespace nestova::imagelist::png
