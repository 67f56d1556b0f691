// Which icon files give their picture straight from their bytes, and what
// that picture and mask are.
#include "imagelist/icon_exact_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "bitmap_writer.h"

namespace nestova::imagelist {
namespace {

using namespace testing;

// A 32-bit frame of `size` whose pixel (x, y) from the top is
// 0xAA000000 + y * 256 + x, and whose mask marks the left column.
Bytes Frame(int size, uint8_t alpha = 0xAA, DibSpec spec = {}) {
  spec.width = size;
  spec.height = 2 * size;
  spec.bitCount = 32;
  Bytes out = DibHeader(spec);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put32(out, (uint32_t{alpha} << 24) | (y << 8) | x);
  }
  const int stride = (size + 31) / 32 * 4;
  for (int y = size - 1; y >= 0; --y) {
    out.push_back(0x80);
    out.insert(out.end(), static_cast<size_t>(stride - 1), uint8_t{0});
  }
  return out;
}

IconEntry Entry(int size, Bytes frame, uint16_t bitCount = 32) {
  return {.width = static_cast<uint8_t>(size == 256 ? 0 : size),
          .height = static_cast<uint8_t>(size == 256 ? 0 : size),
          .bitCount = bitCount,
          .frame = std::move(frame)};
}

TEST(ExactIconFrame, TakesTheOnlyFrameOfTheSizeWithColourAlphaAndMask) {
  const Bytes file = IconFile({Entry(16, Frame(16)), Entry(32, Frame(32)), Entry(48, Frame(48))});
  const std::optional<ExactIconFrame> frame = ReadExactIconFrame(file, 32);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->picture.width, 32);
  EXPECT_EQ(frame->picture.height, 32);
  ASSERT_EQ(frame->picture.bgra.size(), 32u * 32 * 4);
  // Top row first: pixel (5, 0), then (3, 31).
  EXPECT_EQ(frame->picture.bgra[5 * 4], 5);
  EXPECT_EQ(frame->picture.bgra[5 * 4 + 1], 0);
  EXPECT_EQ(frame->picture.bgra[5 * 4 + 3], 0xAA);
  EXPECT_EQ(frame->picture.bgra[(31 * 32 + 3) * 4 + 1], 31);
  // Rows of 16-bit words: two words for 32 pixels, the left bit set.
  ASSERT_EQ(frame->mask.size(), 32u * 4);
  for (size_t row = 0; row < 32; ++row) EXPECT_EQ(frame->mask[row * 4], 0x80) << row;

  const std::optional<ExactIconFrame> small = ReadExactIconFrame(file, 16);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->mask.size(), 16u * 2);
}

TEST(ExactIconFrame, LeavesEveryOtherFileToTheSystem) {
  const Bytes good = IconFile({Entry(32, Frame(32))});
  const auto withHeader = [](DibSpec spec) { return IconFile({Entry(32, Frame(32, 0xAA, spec))}); };
  Bytes cut = good;
  cut.resize(cut.size() - 1);  // the mask's last byte missing
  Bytes badType = good;
  badType[2] = 2;  // a cursor file
  Bytes noEntries = good;
  noEntries[4] = 0;
  Bytes beyond = good;
  beyond[6 + 12] = 0xFF;  // frame offset past the end
  beyond[6 + 13] = 0xFF;
  Bytes headerSays48 = good;
  headerSays48[22 + 4] = 48;

  const struct {
    const char* what;
    Bytes file;
  } cases[] = {
      {"no frame of the size", IconFile({Entry(16, Frame(16)), Entry(48, Frame(48))})},
      {"two frames of the size", IconFile({Entry(32, Frame(32)), Entry(32, Frame(32))})},
      {"a PNG frame of the size", IconFile({Entry(32, PngStart(32, 32, 8, 6))})},
      {"another depth in the directory", IconFile({Entry(32, Frame(32), 24)})},
      {"every alpha byte 0", IconFile({Entry(32, Frame(32, 0))})},
      {"a colour table", withHeader({.colorsUsed = 2})},
      {"bit fields", withHeader({.compression = kBiBitfields})},
      {"a larger header", withHeader({.headerSize = 108})},
      {"two planes", withHeader({.planes = 2})},
      {"the mask cut short", cut},
      {"not an icon", badType},
      {"no entries", noEntries},
      {"a frame beyond the end", beyond},
      {"header and directory disagree", headerSays48},
      {"too short", Bytes{0, 0, 1}},
      {"empty", Bytes{}},
  };
  EXPECT_TRUE(ReadExactIconFrame(good, 32));
  for (const auto& c : cases) EXPECT_FALSE(ReadExactIconFrame(c.file, 32)) << c.what;
  EXPECT_FALSE(ReadExactIconFrame(good, 0));
  EXPECT_FALSE(ReadExactIconFrame(good, 257));
}

}  // namespace
}  // namespace nestova::imagelist
