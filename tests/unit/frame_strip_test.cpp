// Frames side by side: every pixel and mask bit lands in its frame's column,
// also for a size that is no multiple of 8, where mask bits straddle bytes.
#include "imagelist/frame_strip.h"

#include <gtest/gtest.h>

namespace nestova::imagelist {
namespace {

// A frame whose pixel (x, y) is blue = x, green = y, red = tag, alpha = 255,
// and whose mask marks the pixels where (x + y + tag) is even.
ExactIconFrame Frame(int size, uint8_t tag) {
  ExactIconFrame frame;
  frame.picture.width = frame.picture.height = size;
  frame.picture.hasAlpha = true;
  const int maskRow = (size + 15) / 16 * 2;
  frame.mask.assign(static_cast<size_t>(maskRow * size), 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      frame.picture.bgra.insert(frame.picture.bgra.end(),
                                {static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag, 255});
      if ((x + y + tag) % 2 == 0) frame.mask[y * maskRow + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return frame;
}

TEST(FrameStrip, FramesLieSideBySideInColourAndMask) {
  for (int size : {1, 3, 8, 32}) {
    SCOPED_TRACE(size);
    FrameStrip strip(size);
    const int frames = 5;
    for (int f = 0; f < frames; ++f) strip.Add(Frame(size, static_cast<uint8_t>(f)));
    ASSERT_EQ(strip.Count(), frames);
    const int width = frames * size;
    const int maskRow = (width + 15) / 16 * 2;
    const std::vector<uint8_t> colour = strip.Colour();
    const std::vector<uint8_t> mask = strip.Mask();
    ASSERT_EQ(colour.size(), static_cast<size_t>(width * size * 4));
    ASSERT_EQ(mask.size(), static_cast<size_t>(maskRow * size));
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < width; ++x) {
        const int f = x / size, fx = x % size;
        const uint8_t* pixel = &colour[static_cast<size_t>((y * width + x) * 4)];
        EXPECT_EQ(pixel[0], fx);
        EXPECT_EQ(pixel[1], y);
        EXPECT_EQ(pixel[2], f);
        const bool marked = (mask[static_cast<size_t>(y * maskRow + x / 8)] >> (7 - x % 8)) & 1;
        EXPECT_EQ(marked, (fx + y + f) % 2 == 0) << "x " << x << " y " << y;
      }
    }
  }
}

TEST(FrameStrip, ANewStripAfterClearHoldsOnlyItsOwnFrames) {
  FrameStrip strip(3);
  for (uint8_t f = 0; f < 4; ++f) strip.Add(Frame(3, f));
  strip.Clear();
  strip.Add(Frame(3, 7));
  EXPECT_EQ(strip.Count(), 1);
  EXPECT_EQ(strip.Colour().size(), 3u * 3 * 4);
  EXPECT_EQ(strip.Colour()[2], 7);
  // Bits beyond the one frame stay clear, whatever the earlier strip held.
  const std::vector<uint8_t> mask = strip.Mask();
  for (size_t row = 0; row < 3; ++row) EXPECT_EQ(mask[row * 2 + 1], 0);
  EXPECT_EQ(mask[0] & 0x1F, 0);
}

}  // namespace
}  // namespace nestova::imagelist
