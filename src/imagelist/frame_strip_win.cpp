#include "imagelist/frame_strip_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/dib.h"
#include "platform/handles.h"

namespace nestova::imagelist {

void AddToImageList(HIMAGELIST list, const FrameStrip& strip) {
  if (strip.Count() == 0) return;
  const int width = strip.Count() * strip.Size();
  const int height = strip.Size();
  const std::vector<uint8_t> pixels = strip.Colour();
  const std::vector<uint8_t> mask = strip.Mask();
  const BITMAPINFO info = platform::TopDown32BitInfo(width, height);
  void* bits = nullptr;  // owned by the section
  const platform::UniqueBitmap colour(
      ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const platform::UniqueBitmap maskBitmap(::CreateBitmap(width, height, 1, 1, mask.data()));
  if (!colour || !maskBitmap) return;
  std::copy(pixels.begin(), pixels.end(), static_cast<uint8_t*>(bits));
  ::ImageList_Add(list, colour.get(), maskBitmap.get());
}

}  // namespace nestova::imagelist
