#include "imagelist/ico_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap_writer.h"

namespace nestova::imagelist {
namespace {

using namespace testing;               // the writer
using Pixels = std::vector<uint32_t>;  // 0xAARRGGBB, rows from the top

std::string Hex(const Picture& p) {
  std::string out;
  char buf[12];
  for (size_t i = 0; i + 3 < p.bgra.size(); i += 4) {
    const uint32_t v = static_cast<uint32_t>(p.bgra[i]) | (uint32_t{p.bgra[i + 1]} << 8) |
                       (uint32_t{p.bgra[i + 2]} << 16) | (uint32_t{p.bgra[i + 3]} << 24);
    std::snprintf(buf, sizeof buf, "%08X ", v);
    out += buf;
  }
  return out;
}

std::string Hex(const Pixels& pixels) {
  std::string out;
  char buf[12];
  for (uint32_t v : pixels) {
    std::snprintf(buf, sizeof buf, "%08X ", v);
    out += buf;
  }
  return out;
}

constexpr uint32_t c0 = 0x102030;
constexpr uint32_t c1 = 0x405060;
constexpr uint32_t c2 = 0x708090;
constexpr uint32_t kOpaque = 0xFF000000;

// An icon frame: the header counts colour and mask rows, so its height is
// twice the image's; then palette, colour rows and mask rows, bottom-up.
Bytes DibFrame(int width, int height, uint16_t bits, const Bytes& palette, const Bytes& rows,
               const Bytes& mask, uint32_t colorsUsed = 0) {
  return Cat(
      {DibHeader(
           {.width = width, .height = 2 * height, .bitCount = bits, .colorsUsed = colorsUsed}),
       palette, rows, mask});
}

// One 32-bit 2 x 2 frame, fully opaque, for directory tests.
Bytes Frame2x2() { return DibFrame(2, 2, 32, {}, Bytes(16, 0x80), Bytes(8, 0)); }

TEST(IconDirectory, SizesAndDepthsComeFromTheFrames) {
  const Bytes png = PngStart(48, 40, 8, 6);
  const Bytes big =
      DibFrame(256, 256, 1, Palette({c0, c1}), Bytes(32 * 256, 0), Bytes(32 * 256, 0));
  const Bytes small = DibFrame(2, 2, 24, {}, Bytes(16, 0), Bytes(8, 0));
  const Bytes file = IconFile({
      {.width = 16, .height = 16, .colourCount = 0, .bitCount = 8, .frame = small},
      {.width = 0, .height = 0, .bitCount = 0, .frame = big},
      {.width = 0, .height = 0, .bitCount = 32, .frame = png},
  });
  const std::vector<IconFrame> frames = ReadIconDirectory(file);
  ASSERT_EQ(frames.size(), 3u);

  const size_t first = 6 + 3 * 16;
  EXPECT_EQ(frames[0].width, 2);
  EXPECT_EQ(frames[0].height, 2);
  EXPECT_EQ(frames[0].bitCount, 24);
  EXPECT_FALSE(frames[0].isPng);
  EXPECT_EQ(frames[0].offset, first);
  EXPECT_EQ(frames[0].size, small.size());

  EXPECT_EQ(frames[1].width, 256);
  EXPECT_EQ(frames[1].height, 256);
  EXPECT_EQ(frames[1].bitCount, 1);
  EXPECT_EQ(frames[1].offset, first + small.size());

  EXPECT_TRUE(frames[2].isPng);
  EXPECT_EQ(frames[2].width, 48);
  EXPECT_EQ(frames[2].height, 40);
  EXPECT_EQ(frames[2].bitCount, 32);
  EXPECT_EQ(frames[2].offset, first + small.size() + big.size());
  EXPECT_EQ(frames[2].size, png.size());
  EXPECT_EQ(frames[2].offset + frames[2].size, file.size());
}

TEST(IconDirectory, PngBitCountFromDepthAndColourType) {
  const struct {
    uint8_t depth;
    uint8_t colourType;
    int bitCount;
  } cases[] = {{1, 0, 1}, {16, 0, 16}, {8, 2, 24}, {16, 2, 48},
               {4, 3, 4}, {8, 4, 16},  {8, 6, 32}, {16, 6, 64}};
  for (const auto& c : cases) {
    const Bytes file = IconFile({{.frame = PngStart(16, 16, c.depth, c.colourType)}});
    EXPECT_EQ(ReadIconDirectory(file)[0].bitCount, c.bitCount)
        << int{c.depth} << " bits, colour type " << int{c.colourType};
  }
}

Bytes Head(const Bytes& bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + n); }

Bytes WithLe32(Bytes file, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  return file;
}

TEST(IconDirectory, BrokenDirectories) {
  const Bytes good = IconFile({{.frame = Frame2x2()}});
  ASSERT_NO_THROW(ReadIconDirectory(good));
  const auto withByte = [&good](size_t at, uint8_t value) {
    Bytes file = good;
    file[at] = value;
    return file;
  };
  const size_t entry = 6;
  Bytes twoEntriesOneWritten = withByte(4, 2);
  twoEntriesOneWritten.resize(6 + 16 + 8);
  Bytes pngBadLength = PngStart(16, 16, 8, 6);
  pngBadLength[11] = 12;
  Bytes pngBadType = PngStart(16, 16, 8, 6);
  pngBadType[12] = 'i';
  const struct {
    const char* name;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"header cut short", Head(good, 5)},
      {"reserved not 0", withByte(0, 1)},
      {"cursor, not icon", withByte(2, 2)},
      {"type 0", withByte(2, 0)},
      {"no images", withByte(4, 0)},
      {"entry cut short", Head(good, 6 + 15)},
      {"second entry missing", twoEntriesOneWritten},
      {"frame one byte past the end", WithLe32(good, entry + 8, Frame2x2().size() + 1)},
      {"frame offset past the end", WithLe32(good, entry + 12, static_cast<uint32_t>(good.size()))},
      {"offset and size overflow",
       WithLe32(WithLe32(good, entry + 8, 0xFFFFFFFF), entry + 12, 0xFFFFFFFF)},
      {"frame inside the directory", WithLe32(good, entry + 12, 6)},
      {"empty frame", WithLe32(good, entry + 8, 0)},
      {"frame with an unknown header", IconFile({{.frame = Bytes(64, 0)}})},
      {"frame header cut short", IconFile({{.frame = Head(Frame2x2(), 20)}})},
      {"top-down frame",
       IconFile({{.frame = Cat(
                      {DibHeader({.width = 2, .height = -4, .bitCount = 32}), Bytes(24, 0)})}})},
      {"compressed frame",
       IconFile({{.frame = Cat(
                      {DibHeader({.width = 2, .height = 4, .bitCount = 8, .compression = kBiRle8}),
                       Bytes(24, 0)})}})},
      {"frame header of height 1",
       IconFile(
           {{.frame = Cat({DibHeader({.width = 2, .height = 1, .bitCount = 32}), Bytes(16, 0)})}})},
      {"PNG frame cut before IHDR ends", IconFile({{.frame = Head(PngStart(16, 16, 8, 6), 25)}})},
      {"PNG IHDR with a wrong length", IconFile({{.frame = pngBadLength}})},
      {"PNG without IHDR first", IconFile({{.frame = pngBadType}})},
      {"PNG width 0", IconFile({{.frame = PngStart(0, 16, 8, 6)}})},
      {"PNG height above 2^31 - 1", IconFile({{.frame = PngStart(16, 0x80000000, 8, 6)}})},
      {"PNG colour type 5", IconFile({{.frame = PngStart(16, 16, 8, 5)}})},
      {"PNG truecolour at 4 bits", IconFile({{.frame = PngStart(16, 16, 4, 2)}})},
      {"PNG palette at 16 bits", IconFile({{.frame = PngStart(16, 16, 16, 3)}})},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(ReadIconDirectory(c.file), DecodeError) << c.name;
  }
}

struct FrameCase {
  const char* name;
  Bytes frame;
  int width;
  int height;
  Pixels pixels;
};

TEST(IconFrame, ColourAndMask) {
  const FrameCase cases[] = {
      {"1 bit",
       DibFrame(2, 2, 1, Palette({c0, c1}), {0x80, 0, 0, 0, 0x40, 0, 0, 0},
                {0x40, 0, 0, 0, 0x00, 0, 0, 0}),
       2,
       2,
       {kOpaque | c0, kOpaque | c1, kOpaque | c1, 0}},
      {"4 bits",
       DibFrame(3, 1, 4, Palette({c0, c1, c2}), {0x12, 0x00, 0, 0}, {0x20, 0, 0, 0}, 3),
       3,
       1,
       {kOpaque | c1, kOpaque | c2, 0}},
      {"8 bits",
       DibFrame(2, 1, 8, Palette({c0, c1}), {1, 0, 0, 0}, {0x80, 0, 0, 0}, 2),
       2,
       1,
       {0, kOpaque | c0}},
      {"24 bits",
       DibFrame(2, 1, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0}, {0x40, 0, 0, 0}),
       2,
       1,
       {0xFF030201, 0}},
      {"24 bits without a mask",
       DibFrame(2, 1, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0}, {}),
       2,
       1,
       {0xFF030201, 0xFF060504}},
      {"32 bits keep their alpha over the mask",
       DibFrame(2, 1, 32, {}, {1, 2, 3, 0x80, 4, 5, 6, 0}, {0xC0, 0, 0, 0}),
       2,
       1,
       {0x80030201, 0x00060504}},
      {"32 bits without alpha take it from the mask",
       DibFrame(2, 1, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0}, {0x40, 0, 0, 0}),
       2,
       1,
       {0xFF030201, 0}},
      {"32 bits without alpha or mask are opaque",
       DibFrame(2, 1, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0}, {}),
       2,
       1,
       {0xFF030201, 0xFF060504}},
  };
  for (const FrameCase& c : cases) {
    const Bytes file = IconFile({{.frame = c.frame}});
    const std::vector<IconFrame> frames = ReadIconDirectory(file);
    const Picture p = DecodeIconDibFrame(file, frames[0]);
    EXPECT_EQ(p.width, c.width) << c.name;
    EXPECT_EQ(p.height, c.height) << c.name;
    EXPECT_TRUE(p.hasAlpha) << c.name;
    EXPECT_EQ(Hex(p), Hex(c.pixels)) << c.name;
  }
}

TEST(IconFrame, MaskRowsArePaddedAndBottomUp) {
  // 33 pixels: colour rows of 8 bytes at 1 bit, mask rows of 8 bytes too.
  Bytes mask(16, 0);
  mask[4] = 0x80;  // bottom row, x = 32
  mask[8] = 0x80;  // top row, x = 0
  const Bytes file =
      IconFile({{.frame = DibFrame(33, 2, 1, Palette({c0, c1}), Bytes(16, 0), mask)}});
  const Picture p = DecodeIconDibFrame(file, ReadIconDirectory(file)[0]);
  Pixels want(66, kOpaque | c0);
  want[0] = 0;
  want[33 + 32] = 0;
  EXPECT_EQ(Hex(p), Hex(want));
}

TEST(IconFrame, BrokenFrames) {
  const Bytes rows = {1, 2, 3, 4, 5, 6, 0, 0};
  const Bytes cutMask = IconFile({{.frame = DibFrame(2, 1, 24, {}, rows, {0x40, 0, 0})}});
  EXPECT_THROW(DecodeIconDibFrame(cutMask, ReadIconDirectory(cutMask)[0]), DecodeError);
  const Bytes cutRows = IconFile({{.frame = DibFrame(2, 1, 24, {}, Head(rows, 7), {})}});
  EXPECT_THROW(DecodeIconDibFrame(cutRows, ReadIconDirectory(cutRows)[0]), DecodeError);
  const Bytes badIndex =
      IconFile({{.frame = DibFrame(2, 1, 8, Palette({c0}), {0, 1, 0, 0}, Bytes(4, 0), 1)}});
  EXPECT_THROW(DecodeIconDibFrame(badIndex, ReadIconDirectory(badIndex)[0]), DecodeError);

  const Bytes good = IconFile({{.frame = Frame2x2()}});
  IconFrame outside = ReadIconDirectory(good)[0];
  outside.size += 1;
  EXPECT_THROW(DecodeIconDibFrame(good, outside), DecodeError);
  outside.offset = SIZE_MAX;
  EXPECT_THROW(DecodeIconDibFrame(good, outside), DecodeError);

  const Bytes png = IconFile({{.frame = PngStart(16, 16, 8, 6)}});
  EXPECT_THROW(DecodeIconDibFrame(png, ReadIconDirectory(png)[0]), std::invalid_argument);
}

IconFrame Sized(int width, int height, int bits) {
  return {
      .width = width, .height = height, .bitCount = bits, .isPng = false, .offset = 0, .size = 0};
}

TEST(IconFrame, ChooseLikeWindows) {
  const struct {
    const char* name;
    std::vector<IconFrame> frames;
    int wanted;
    size_t chosen;
  } cases[] = {
      {"the exact size", {Sized(16, 16, 32), Sized(32, 32, 8), Sized(48, 48, 32)}, 32, 1},
      {"the closest size", {Sized(16, 16, 32), Sized(24, 24, 4), Sized(256, 256, 32)}, 32, 1},
      {"a closer smaller before a larger", {Sized(48, 48, 32), Sized(24, 24, 32)}, 32, 1},
      {"larger before smaller at equal distance", {Sized(16, 16, 32), Sized(48, 48, 32)}, 32, 1},
      {"larger before smaller, either order", {Sized(48, 48, 8), Sized(16, 16, 32)}, 32, 0},
      {"the most bits at one size",
       {Sized(32, 32, 8), Sized(32, 32, 32), Sized(32, 32, 24)},
       32,
       1},
      {"bits above 32 count as 32", {Sized(32, 32, 32), Sized(32, 32, 64)}, 32, 0},
      {"bits above 32 count as 32, either order", {Sized(32, 32, 64), Sized(32, 32, 32)}, 32, 0},
      {"the first of equals", {Sized(32, 32, 24), Sized(32, 32, 24)}, 32, 0},
      {"only one frame", {Sized(256, 256, 1)}, 16, 0},
      {"non-square: width and height both count",
       {Sized(32, 16, 32), Sized(24, 24, 32), Sized(16, 32, 32)},
       32,
       1},
      {"only far frames", {Sized(256, 256, 32), Sized(16, 16, 4)}, 32, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseIconFrame(c.frames, c.wanted), c.chosen) << c.name;
  }
  EXPECT_THROW(ChooseIconFrame({}, 32), std::invalid_argument);
}

}  // namespace
}  // namespace nestova::imagelist
