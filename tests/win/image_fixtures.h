#pragma once
// Small PNG, bitmap and icon files for the image list's tests, made in code,
// and a way to see what the system image list draws.
#include <windows.h>
#include <commctrl.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap_writer.h"
#include "platform/handles.h"
#include "platform/dib.h"

namespace nestova::imagelist::testing {

// Pixels as 0xAARRGGBB, rows from the top.
struct Argb {
  int width;
  int height;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Argb Fill(int width, int height, uint32_t argb) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb)};
}

inline void Square(Argb& picture, int left, int top, int size, uint32_t argb) {
  for (int y = top; y < top + size; ++y) {
    for (int x = left; x < left + size; ++x)
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = argb;
  }
}

inline void PngChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, static_cast<uint32_t>(
                   crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

enum class PngColour { kTruecolour = 2, kGreyAlpha = 4, kTruecolourAlpha = 6 };

// 8 bits per sample, unfiltered rows; greyscale takes the blue channel.
inline Bytes Png(const Argb& picture, PngColour colour) {
  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  PutBe32(header, static_cast<uint32_t>(picture.width));
  PutBe32(header, static_cast<uint32_t>(picture.height));
  header.insert(header.end(), {8, static_cast<uint8_t>(colour), 0, 0, 0});
  PngChunk(out, "IHDR", header);
  Bytes raw;
  for (int y = 0; y < picture.height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.at(x, y);
      if (colour == PngColour::kGreyAlpha) {
        raw.insert(raw.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
        continue;
      }
      raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                             static_cast<uint8_t>(p)});
      if (colour == PngColour::kTruecolourAlpha) raw.push_back(static_cast<uint8_t>(p >> 24));
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(size);
  if (compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
    throw std::runtime_error("compress failed");
  }
  packed.resize(size);
  PngChunk(out, "IDAT", packed);
  PngChunk(out, "IEND", {});
  return out;
}

// Rows from the bottom, as DIBs keep them: 24 bits (padded to 4 bytes) or
// 32 bits with alpha.
inline Bytes DibRows(const Argb& picture, int bitCount) {
  Bytes out;
  for (int y = picture.height - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.at(x, y);
      out.insert(out.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                             static_cast<uint8_t>(p >> 16)});
      if (bitCount == 32) out.push_back(static_cast<uint8_t>(p >> 24));
    }
    while ((out.size() - start) % 4) out.push_back(0);
  }
  return out;
}

inline Bytes Bmp24(const Argb& picture) {
  return BmpFile(DibHeader({.width = picture.width, .height = picture.height, .bitCount = 24}),
                 DibRows(picture, 24));
}

// An icon of one frame: 24 bits with an opaque mask, or 32 bits with alpha.
inline Bytes Icon(const Argb& picture, int bitCount) {
  const Bytes mask(static_cast<size_t>((picture.width + 31) / 32 * 4) * picture.height, 0);
  const Bytes frame = Cat({DibHeader({.width = picture.width,
                                      .height = picture.height * 2,
                                      .bitCount = static_cast<uint16_t>(bitCount)}),
                           DibRows(picture, bitCount), mask});
  return IconFile({{.width = static_cast<uint8_t>(picture.width),
                    .height = static_cast<uint8_t>(picture.height),
                    .bitCount = static_cast<uint16_t>(bitCount),
                    .frame = frame}});
}

inline void WriteFile(const std::wstring& path, const Bytes& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A 32-bit top-down bitmap's pixels as 0xAARRGGBB.
inline Argb ReadBitmap(HBITMAP bitmap) {
  BITMAP info{};
  ::GetObjectW(bitmap, sizeof info, &info);
  BITMAPINFO request = platform::TopDown32BitInfo(info.bmWidth, info.bmHeight);
  Argb out = Fill(info.bmWidth, info.bmHeight, 0);
  const platform::ScreenDC screen;
  ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), out.pixels.data(),
              &request, DIB_RGB_COLORS);
  return out;
}

// What the image list draws for one image over a background of one colour.
inline Argb DrawImage(HIMAGELIST list, int index, uint32_t background) {
  int width = 0, height = 0;
  ::ImageList_GetIconSize(list, &width, &height);
  const BITMAPINFO info = platform::TopDown32BitInfo(width, height);
  void* bits = nullptr;  // owned by the section
  const platform::UniqueBitmap target(
      ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const size_t count = static_cast<size_t>(width) * height;
  std::vector<uint32_t> fill(count, background);
  std::memcpy(bits, fill.data(), count * 4);
  const platform::UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
  {
    const platform::ScopedSelect select(dc.get(), target.get());
    ::ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL);
    ::GdiFlush();
  }
  Argb out{width, height, std::vector<uint32_t>(count)};
  std::memcpy(out.pixels.data(), bits, count * 4);
  for (uint32_t& p : out.pixels) p &= 0xFFFFFF;  // what shows has no alpha
  return out;
}

}  // namespace nestova::imagelist::testing
