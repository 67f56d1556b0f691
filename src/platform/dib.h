#pragma once
// The one bitmap layout our pixel code reads and writes: 32 bits per pixel
// (blue, green, red, alpha in memory), rows from the top, so that bitmap row
// y is picture row y.
#include <windows.h>

namespace nestova::platform {

inline BITMAPINFO TopDown32BitInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace nestova::platform
