#pragma once
// Builds small bitmap and icon files byte by byte for the reader tests.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace nestova::imagelist::testing {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

inline void PutBe32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

struct DibSpec {
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitCount = 24;
  uint32_t compression = kBiRgb;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  // Red, green, blue, alpha: written into headers of 52 bytes and more.
  std::array<uint32_t, 4> masks{};
  uint16_t planes = 1;
};

// The header alone: a core header when headerSize is 12, else the info
// header padded with zeros to headerSize, masks in place.
inline Bytes DibHeader(const DibSpec& s) {
  Bytes out;
  Put32(out, s.headerSize);
  if (s.headerSize == 12) {
    Put16(out, static_cast<uint32_t>(s.width));
    Put16(out, static_cast<uint32_t>(s.height));
    Put16(out, s.planes);
    Put16(out, s.bitCount);
    return out;
  }
  Put32(out, static_cast<uint32_t>(s.width));
  Put32(out, static_cast<uint32_t>(s.height));
  Put16(out, s.planes);
  Put16(out, s.bitCount);
  Put32(out, s.compression);
  Put32(out, s.sizeImage);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, s.colorsUsed);
  Put32(out, 0);
  for (size_t i = 0; i < 4 && out.size() + 4 <= s.headerSize; ++i) Put32(out, s.masks[i]);
  out.resize(s.headerSize, 0);
  return out;
}

// Palette entries of an info header: blue, green, red, 0 from 0xRRGGBB.
inline Bytes Palette(std::initializer_list<uint32_t> rgb) {
  Bytes out;
  for (uint32_t c : rgb) Put32(out, c & 0xFFFFFF);
  return out;
}

inline Bytes Words(std::initializer_list<uint32_t> words) {
  Bytes out;
  for (uint32_t w : words) Put32(out, w);
  return out;
}

// A BMP file whose rows start right after `tables` (header, masks, palette),
// unless `offBits` says otherwise.
inline Bytes BmpFile(const Bytes& tables, const Bytes& pixels, int64_t offBits = -1) {
  Bytes out = {'B', 'M'};
  const uint32_t off =
      offBits >= 0 ? static_cast<uint32_t>(offBits) : static_cast<uint32_t>(14 + tables.size());
  Put32(out, static_cast<uint32_t>(14 + tables.size() + pixels.size()));
  Put32(out, 0);
  Put32(out, off);
  out.insert(out.end(), tables.begin(), tables.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

struct IconEntry {
  uint8_t width = 0;  // 0 stands for 256
  uint8_t height = 0;
  uint8_t colourCount = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 32;
  Bytes frame;
};

// An icon file with the frames stored in order after the directory.
inline Bytes IconFile(const std::vector<IconEntry>& entries) {
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const IconEntry& e : entries) {
    out.push_back(e.width);
    out.push_back(e.height);
    out.push_back(e.colourCount);
    out.push_back(0);
    Put16(out, e.planes);
    Put16(out, e.bitCount);
    Put32(out, static_cast<uint32_t>(e.frame.size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(e.frame.size());
  }
  for (const IconEntry& e : entries) out.insert(out.end(), e.frame.begin(), e.frame.end());
  return out;
}

// The start of a PNG: signature and IHDR (the CRC is not checked here).
inline Bytes PngStart(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType) {
  Bytes out = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  PutBe32(out, 13);
  out.insert(out.end(), {'I', 'H', 'D', 'R'});
  PutBe32(out, width);
  PutBe32(out, height);
  out.insert(out.end(), {depth, colourType, 0, 0, 0});
  PutBe32(out, 0);
  return out;
}

}  // namespace nestova::imagelist::testing
