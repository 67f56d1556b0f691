#pragma once
// A 32-bit picture to draw into and read back pixel by pixel, for tests of
// what the labels paint.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/dib.h"

namespace nestova::testing_win {

using platform::ScopedSelect;

// A 32-bit top-down picture selected into a memory device context.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill)
      : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
    const BITMAPINFO info = platform::TopDown32BitInfo(width, height);
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint8_t*>(bits);
    select_.emplace(dc_.get(), bitmap_.get());
    FillRows(0, height, fill);
  }

  bool ok() const { return dc_ && bitmap_ && bits_; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  void FillRows(int top, int bottom, COLORREF color) {
    ::GdiFlush();
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < width_; ++x) {
        std::uint8_t* p = Pixel(x, y);
        p[0] = GetBValue(color);
        p[1] = GetGValue(color);
        p[2] = GetRValue(color);
        p[3] = 0;
      }
    }
  }

  COLORREF At(int x, int y) const {
    ::GdiFlush();
    const std::uint8_t* p = Pixel(x, y);
    return RGB(p[2], p[1], p[0]);
  }

  std::span<std::uint8_t> Bytes() {
    ::GdiFlush();
    return {bits_, static_cast<std::size_t>(width_) * height_ * 4};
  }

  // 1 where the pixel is exactly `color`.
  std::vector<int> Where(COLORREF color) const {
    std::vector<int> map;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) map.push_back(At(x, y) == color ? 1 : 0);
    }
    return map;
  }

 private:
  std::uint8_t* Pixel(int x, int y) const {
    return bits_ + (static_cast<std::size_t>(y) * width_ + x) * 4;
  }

  int width_;
  int height_;
  platform::UniqueMemoryDC dc_;
  platform::UniqueBitmap bitmap_;
  std::uint8_t* bits_ = nullptr;  // owned by bitmap_
  std::optional<ScopedSelect> select_;
};

inline ::testing::AssertionResult SamePixels(const Canvas& actual, const Canvas& expected) {
  int differing = 0;
  std::string first;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.At(x, y) == expected.At(x, y)) continue;
      if (differing++ == 0) {
        first = "first at (" + std::to_string(x) + ", " + std::to_string(y) +
                "): " + std::to_string(actual.At(x, y)) + " instead of " +
                std::to_string(expected.At(x, y));
      }
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, " << first;
}

inline int Count(const std::vector<int>& map) {
  int n = 0;
  for (int v : map) n += v;
  return n;
}

}  // namespace nestova::testing_win
