#include "imagelist/icon_maker.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <shellapi.h>

#include "platform/dib.h"
#include "platform/text.h"

namespace nestova::imagelist {
namespace {

using platform::UniqueBitmap;
using platform::UniqueIcon;

UniqueBitmap ColourBitmap(const Picture& picture, const std::vector<uint8_t>& bgra) {
  const BITMAPINFO info = platform::TopDown32BitInfo(picture.width, picture.height);
  void* bits = nullptr;  // owned by the section
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) std::memcpy(bits, bgra.data(), bgra.size());
  return bitmap;
}

// A 1-bit bitmap, rows padded to 16 bits as CreateBitmap wants them; bit 1
// where `transparent` says so.
template <typename Transparent>
UniqueBitmap MaskBitmap(const Picture& picture, Transparent transparent) {
  const size_t stride = (static_cast<size_t>(picture.width) + 15) / 16 * 2;
  std::vector<uint8_t> bits(stride * static_cast<size_t>(picture.height), 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (transparent(static_cast<size_t>(y) * picture.width + x)) {
        bits[y * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  return UniqueBitmap(::CreateBitmap(picture.width, picture.height, 1, 1, bits.data()));
}

UniqueIcon IconOf(const UniqueBitmap& colour, const UniqueBitmap& mask) {
  if (!colour || !mask) return UniqueIcon();
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour.get();
  info.hbmMask = mask.get();
  return UniqueIcon(::CreateIconIndirect(&info));
}

uint32_t PixelAt(const std::vector<uint8_t>& bgra, size_t i) {
  uint32_t value;
  std::memcpy(&value, &bgra[i * 4], 4);
  return value;
}

bool Empty(const Picture& picture) {
  return picture.width <= 0 || picture.height <= 0 ||
         picture.bgra.size() != static_cast<size_t>(picture.width) * picture.height * 4;
}

}  // namespace

bool AnyAlpha(const Picture& picture) {
  for (size_t i = 3; i < picture.bgra.size(); i += 4) {
    if (picture.bgra[i] != 0) return true;
  }
  return false;
}

UniqueIcon MakeIconFromPicture(const Picture& picture) {
  if (Empty(picture)) return UniqueIcon();
  std::vector<uint8_t> bgra = picture.bgra;
  const uint32_t reference = PixelAt(bgra, 0);
  const size_t pixels = bgra.size() / 4;
  std::vector<bool> masked(pixels);
  for (size_t i = 0; i < pixels; ++i) masked[i] = PixelAt(bgra, i) == reference;
  if (!AnyAlpha(picture)) {
    for (size_t i = 0; i < pixels; ++i) {
      if (masked[i]) std::fill_n(&bgra[i * 4], 4, uint8_t{0});
    }
  }
  const UniqueBitmap colour = ColourBitmap(picture, bgra);
  const UniqueBitmap mask = MaskBitmap(picture, [&](size_t i) { return masked[i]; });
  return IconOf(colour, mask);
}

UniqueIcon MakeIconFromAlpha(const Picture& picture) {
  if (Empty(picture)) return UniqueIcon();
  std::vector<uint8_t> bgra = picture.bgra;
  if (!AnyAlpha(picture)) {
    for (size_t i = 0; i < bgra.size(); i += 4) {
      const bool magenta = bgra[i] == 255 && bgra[i + 1] == 0 && bgra[i + 2] == 255;
      bgra[i + 3] = magenta ? 0 : 255;
    }
  }
  const UniqueBitmap colour = ColourBitmap(picture, bgra);
  const UniqueBitmap mask = MaskBitmap(picture, [&](size_t i) { return bgra[i * 4 + 3] == 0; });
  return IconOf(colour, mask);
}

UniqueIcon ExtractFileIcon(const platform::Text& fileName, IconExtractor extract) {
  if (!extract) extract = ::ExtractIconW;
  const HICON icon = extract(::GetModuleHandleW(nullptr), platform::ToWide(fileName).c_str(), 0);
  if (reinterpret_cast<UINT_PTR>(icon) == 1) return UniqueIcon();
  return UniqueIcon(icon);
}

bool IconHasAlpha(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return false;
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAP bitmap{};
  if (!colour || !::GetObjectW(colour.get(), sizeof bitmap, &bitmap) || bitmap.bmBitsPixel != 32) {
    return false;
  }
  BITMAPINFO request = platform::TopDown32BitInfo(bitmap.bmWidth, bitmap.bmHeight);
  std::vector<uint8_t> bgra(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
  const platform::ScreenDC screen;
  if (::GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(bitmap.bmHeight), bgra.data(),
                  &request, DIB_RGB_COLORS) == 0) {
    return false;
  }
  for (size_t i = 3; i < bgra.size(); i += 4) {
    if (bgra[i] != 0) return true;
  }
  return false;
}

}  // namespace nestova::imagelist
