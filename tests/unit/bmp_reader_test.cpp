#include "imagelist/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bitmap_writer.h"

namespace nestova::imagelist {
namespace {

using namespace testing;               // the writer
using Pixels = std::vector<uint32_t>;  // 0xAARRGGBB, rows from the top

Pixels ArgbOf(const Picture& p) {
  Pixels out;
  for (size_t i = 0; i + 3 < p.bgra.size(); i += 4) {
    out.push_back(static_cast<uint32_t>(p.bgra[i]) | (uint32_t{p.bgra[i + 1]} << 8) |
                  (uint32_t{p.bgra[i + 2]} << 16) | (uint32_t{p.bgra[i + 3]} << 24));
  }
  return out;
}

std::string Hex(const Pixels& pixels) {
  std::string out;
  char buf[12];
  for (uint32_t p : pixels) {
    std::snprintf(buf, sizeof buf, "%08X ", p);
    out += buf;
  }
  return out;
}

struct Decoded {
  int width;
  int height;
  bool hasAlpha;
  Pixels pixels;
};

void ExpectPicture(const Picture& p, const Decoded& want, const std::string& name) {
  EXPECT_EQ(p.width, want.width) << name;
  EXPECT_EQ(p.height, want.height) << name;
  EXPECT_EQ(p.hasAlpha, want.hasAlpha) << name;
  EXPECT_EQ(p.bgra.size(), static_cast<size_t>(p.width) * p.height * 4) << name;
  EXPECT_EQ(Hex(ArgbOf(p)), Hex(want.pixels)) << name;
}

constexpr uint32_t c0 = 0x102030;
constexpr uint32_t c1 = 0x405060;
constexpr uint32_t c2 = 0x708090;
constexpr uint32_t c3 = 0xA0B0C0;

struct Case {
  const char* name;
  Bytes file;
  Decoded want;
};

// 3 x 2 pictures at every depth with an info header: rows bottom-up and padded
// to four bytes.
TEST(ReadBmp, EveryDepth) {
  const Case cases[] = {
      {"1 bit, full palette",
       BmpFile(Cat({DibHeader({.width = 3, .height = 2, .bitCount = 1}), Palette({c0, c1})}),
               {0xA0, 0, 0, 0, 0x60, 0, 0, 0}),
       {3, 2, false, {c0, c1, c1, c1, c0, c1}}},
      {"4 bits, three colours used",
       BmpFile(Cat({DibHeader({.width = 3, .height = 2, .bitCount = 4, .colorsUsed = 3}),
                    Palette({c0, c1, c2})}),
               {0x21, 0x00, 0, 0, 0x02, 0x10, 0, 0}),
       {3, 2, false, {c0, c2, c1, c2, c1, c0}}},
      {"8 bits, three colours used",
       BmpFile(Cat({DibHeader({.width = 3, .height = 2, .bitCount = 8, .colorsUsed = 3}),
                    Palette({c0, c1, c2})}),
               {1, 2, 0, 0, 2, 0, 1, 0}),
       {3, 2, false, {c2, c0, c1, c1, c2, c0}}},
      {"16 bits 5-5-5, top bit ignored",
       BmpFile(
           DibHeader({.width = 3, .height = 2, .bitCount = 16}),
           {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0, 0xFF, 0xFF, 0x00, 0x00, 0x10, 0x42, 0, 0}),
       {3, 2, false, {0xFFFFFF, 0x000000, 0x848484, 0xFF0000, 0x00FF00, 0x0000FF}}},
      {"24 bits",
       BmpFile(DibHeader({.width = 3, .height = 2, .bitCount = 24}),
               {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}),
       {3, 2, false, {0x0C0B0A, 0x0F0E0D, 0x121110, 0x030201, 0x060504, 0x090807}}},
      {"32 bits keep their alpha",
       BmpFile(DibHeader({.width = 3, .height = 2, .bitCount = 32}),
               {1,  2,  3,  0x80, 4,  5,  6,  0,  7,  8,  9,  255,
                10, 11, 12, 13,   14, 15, 16, 17, 18, 19, 20, 21}),
       {3, 2, true, {0x0D0C0B0A, 0x11100F0E, 0x15141312, 0x80030201, 0x00060504, 0xFF090807}}},
      {"24 bits, top-down rows",
       BmpFile(DibHeader({.width = 3, .height = -2, .bitCount = 24}),
               {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}),
       {3, 2, false, {0x030201, 0x060504, 0x090807, 0x0C0B0A, 0x0F0E0D, 0x121110}}},
      {"8 bits, top-down rows",
       BmpFile(Cat({DibHeader({.width = 3, .height = -2, .bitCount = 8, .colorsUsed = 3}),
                    Palette({c0, c1, c2})}),
               {1, 2, 0, 0, 2, 0, 1, 0}),
       {3, 2, false, {c1, c2, c0, c2, c0, c1}}},
      {"rows start where the file header says",
       BmpFile(Cat({DibHeader({.width = 1, .height = 1, .bitCount = 8, .colorsUsed = 2}),
                    Palette({c0, c1}), Bytes{0xEE, 0xEE}}),
               {1, 0, 0, 0}),
       {1, 1, false, {c1}}},
      {"wide 1-bit row across bytes",
       BmpFile(Cat({DibHeader({.width = 10, .height = 1, .bitCount = 1}), Palette({c0, c1})}),
               {0x81, 0x40, 0, 0}),
       {10, 1, false, {c1, c0, c0, c0, c0, c0, c0, c1, c0, c1}}},
  };
  for (const Case& c : cases) ExpectPicture(ReadBmp(c.file), c.want, c.name);
}

// The same 32-bit pixel read through masks found in each header version.
// The masks put red in the lowest byte, so a reader that takes the default
// masks, or the masks from the wrong place, gets other colours.
TEST(ReadBmp, HeaderVersions) {
  const std::array<uint32_t, 4> rgba = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  const Bytes pixel = {0x11, 0x22, 0x33, 0x44};
  const auto header = [&](uint32_t size, uint32_t compression) {
    return DibHeader({.headerSize = size,
                      .width = 1,
                      .height = 1,
                      .bitCount = 32,
                      .compression = compression,
                      .masks = rgba});
  };
  const Case cases[] = {
      {"info header, three mask words after it",
       BmpFile(Cat({header(40, kBiBitfields), Words({rgba[0], rgba[1], rgba[2]})}), pixel),
       {1, 1, false, {0x00112233}}},
      {"info header, four mask words after it",
       BmpFile(Cat({header(40, kBiAlphaBitfields), Words({rgba[0], rgba[1], rgba[2], rgba[3]})}),
               pixel),
       {1, 1, true, {0x44112233}}},
      {"52-byte header: colour masks inside",
       BmpFile(header(52, kBiBitfields), pixel),
       {1, 1, false, {0x00112233}}},
      {"56-byte header: alpha mask inside",
       BmpFile(header(56, kBiBitfields), pixel),
       {1, 1, true, {0x44112233}}},
      {"v4 header", BmpFile(header(108, kBiBitfields), pixel), {1, 1, true, {0x44112233}}},
      {"v5 header", BmpFile(header(124, kBiBitfields), pixel), {1, 1, true, {0x44112233}}},
      {"v5 header, BI_RGB ignores the masks",
       BmpFile(header(124, kBiRgb), pixel),
       {1, 1, true, {0x44332211}}},
      {"core header, 1 bit with a three-byte palette",
       BmpFile(Cat({DibHeader({.headerSize = 12, .width = 2, .height = 1, .bitCount = 1}),
                    Bytes{1, 2, 3, 4, 5, 6}}),
               {0x40, 0, 0, 0}),
       {2, 1, false, {0x030201, 0x060504}}},
      {"core header, 24 bits",
       BmpFile(DibHeader({.headerSize = 12, .width = 1, .height = 2, .bitCount = 24}),
               {1, 2, 3, 0, 4, 5, 6, 0}),
       {1, 2, false, {0x060504, 0x030201}}},
      {"core header, 8 bits take a full palette",
       BmpFile(Cat({DibHeader({.headerSize = 12, .width = 1, .height = 1, .bitCount = 8}),
                    Bytes(3 * 255, 0), Bytes{7, 8, 9}}),
               {255, 0, 0, 0}),
       {1, 1, false, {0x090807}}},
      {"v4 header, 8 bits",
       BmpFile(
           Cat({DibHeader(
                    {.headerSize = 108, .width = 1, .height = 1, .bitCount = 8, .colorsUsed = 2}),
                Palette({c0, c1})}),
           {1, 0, 0, 0}),
       {1, 1, false, {c1}}},
  };
  for (const Case& c : cases) ExpectPicture(ReadBmp(c.file), c.want, c.name);
}

TEST(ReadBmp, BitFields) {
  const auto file = [](uint16_t bits, std::initializer_list<uint32_t> masks, const Bytes& pixels,
                       int32_t width) {
    const uint32_t compression = masks.size() == 4 ? kBiAlphaBitfields : kBiBitfields;
    return BmpFile(
        Cat({DibHeader({.width = width, .height = 1, .bitCount = bits, .compression = compression}),
             Words(masks)}),
        pixels);
  };
  const Case cases[] = {
      {"16 bits 5-6-5",
       file(16, {0xF800, 0x07E0, 0x001F}, {0xE0, 0x07, 0x20, 0x00, 0x1F, 0xF8, 0x01, 0x08}, 4),
       {4, 1, false, {0x00FF00, 0x000400, 0xFF00FF, 0x080008}}},
      {"16 bits 5-5-5 as bit fields",
       file(16, {0x7C00, 0x03E0, 0x001F}, {0x00, 0x7C, 0x21, 0x04, 0, 0}, 2),
       {2, 1, false, {0xFF0000, 0x080808}}},
      {"16 bits 4-4-4-4: alpha dropped below 32 bits",
       file(16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x5A, 0xF3, 0, 0}, 1),
       {1, 1, false, {0x3355AA}}},
      {"32 bits, standard masks without alpha: alpha bytes ignored",
       file(32, {0xFF0000, 0xFF00, 0xFF}, {1, 2, 3, 4}, 1),
       {1, 1, false, {0x030201}}},
      {"32 bits, standard masks with alpha",
       file(32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {1, 2, 3, 4}, 1),
       {1, 1, true, {0x04030201}}},
      {"32 bits, 10-bit colour and 2-bit alpha",
       file(32, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, {0x01, 0x00, 0xF8, 0xBF}, 1),
       {1, 1, true, {0xAAFF8000}}},
  };
  for (const Case& c : cases) ExpectPicture(ReadBmp(c.file), c.want, c.name);
}

TEST(ReadBmp, Rle8) {
  const Bytes data = {
      3, 1, 0, 0,              // bottom row: three of colour 1, end of line
      0, 3, 2, 3, 1, 0,        // absolute run of three, padded to a word
      2, 0, 0, 0,              // two of colour 0, the second past the row's end
      0, 2, 1, 0, 1, 3, 0, 1,  // move right one, one of colour 3, end of bitmap
      5, 1,                    // after the end: ignored
  };
  const Bytes file = BmpFile(
      Cat({DibHeader(
               {.width = 4, .height = 3, .bitCount = 8, .compression = kBiRle8, .colorsUsed = 4}),
           Palette({c0, c1, c2, c3})}),
      data);
  ExpectPicture(ReadBmp(file), {4, 3, false, {0, c3, 0, 0, c2, c3, c1, c0, c1, c1, c1, 0}}, "RLE8");
}

TEST(ReadBmp, Rle4) {
  const Bytes data = {
      3, 0x12,                       // bottom row: 1, 2, 1
      0, 2,    1,    1,              // move right one and up one
      2, 0x20,                       // 2 at the last column, 0 dropped
      0, 0,                          // end of line
      0, 5,    0x21, 0x02, 0x10, 0,  // absolute run of five, three bytes padded to four
      0, 1,                          // end of bitmap
  };
  const Bytes file = BmpFile(
      Cat({DibHeader(
               {.width = 5, .height = 3, .bitCount = 4, .compression = kBiRle4, .colorsUsed = 3}),
           Palette({c0, c1, c2})}),
      data);
  ExpectPicture(ReadBmp(file),
                {5, 3, false, {c2, c1, c0, c2, c1, 0, 0, 0, 0, c2, c1, c2, c1, 0, 0}}, "RLE4");
}

TEST(ReadBmp, RleEndsWithItsData) {
  const auto file = [](uint32_t sizeImage, const Bytes& data) {
    return BmpFile(Cat({DibHeader({.width = 2,
                                   .height = 2,
                                   .bitCount = 8,
                                   .compression = kBiRle8,
                                   .sizeImage = sizeImage,
                                   .colorsUsed = 2}),
                        Palette({c0, c1})}),
                   data);
  };
  const Case cases[] = {
      {"no end-of-bitmap code", file(0, {2, 1}), {2, 2, false, {0, 0, c1, c1}}},
      {"image size stops before trailing codes",
       file(2, {2, 1, 0, 0, 2, 0}),
       {2, 2, false, {0, 0, c1, c1}}},
      {"end of line past the last row",
       file(0, {0, 0, 1, 1, 0, 0, 2, 0}),
       {2, 2, false, {c1, 0, 0, 0}}},
      {"move past the last row", file(0, {0, 2, 0, 5, 2, 0}), {2, 2, false, {0, 0, 0, 0}}},
  };
  for (const Case& c : cases) ExpectPicture(ReadBmp(c.file), c.want, c.name);
}

struct Broken {
  const char* name;
  Bytes file;
};

Bytes Plain(DibSpec spec, const Bytes& tables = {}, size_t pixelBytes = 64) {
  return BmpFile(Cat({DibHeader(spec), tables}), Bytes(pixelBytes, 0));
}

Bytes Head(const Bytes& file, size_t n) { return Bytes(file.begin(), file.begin() + n); }

Bytes WithOffBits(Bytes file, uint32_t offBits) {
  for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<uint8_t>(offBits >> (8 * i));
  return file;
}

Bytes Rle8(const Bytes& data, uint32_t sizeImage = 0) {
  return BmpFile(Cat({DibHeader({.width = 4,
                                 .height = 2,
                                 .bitCount = 8,
                                 .compression = kBiRle8,
                                 .sizeImage = sizeImage,
                                 .colorsUsed = 2}),
                      Palette({c0, c1})}),
                 data);
}

Bytes Masks16(std::initializer_list<uint32_t> masks) {
  return Plain({.width = 2, .height = 2, .bitCount = 16, .compression = kBiBitfields}, Words(masks),
               8);
}

TEST(ReadBmp, BrokenFiles) {
  const Bytes good = Plain({.width = 2, .height = 2, .bitCount = 24}, {}, 16);
  ASSERT_NO_THROW(ReadBmp(good));
  Bytes lowerB = good;
  lowerB[0] = 'b';
  const Broken cases[] = {
      {"empty", {}},
      {"B alone", {'B'}},
      {"BM alone", {'B', 'M'}},
      {"no BM", lowerB},
      {"file header cut short", Head(good, 13)},
      {"no DIB header", Head(good, 14)},
      {"header size field cut short", Head(good, 16)},
      {"info header cut short", Head(good, 14 + 39)},
      {"rows offset inside the file header", WithOffBits(good, 10)},
      {"rows offset inside the DIB header", WithOffBits(good, 14 + 20)},
      {"rows offset past the end", WithOffBits(good, static_cast<uint32_t>(good.size() + 1))},
      {"rows offset far past the end", WithOffBits(good, 0xFFFFFFFF)},
      {"OS/2 2.x header", Plain({.headerSize = 64, .width = 2, .height = 2})},
      {"unknown header size", Plain({.headerSize = 41, .width = 2, .height = 2})},
      {"header size 0", Plain({.headerSize = 0, .width = 2, .height = 2})},
      {"width 0", Plain({.width = 0, .height = 2})},
      {"negative width", Plain({.width = -2, .height = 2})},
      {"height 0", Plain({.width = 2, .height = 0})},
      {"height INT32_MIN", Plain({.width = 2, .height = INT32_MIN})},
      {"core header, width 0", Plain({.headerSize = 12, .width = 0, .height = 2})},
      {"too many pixels, refused before decoding", BmpFile(Cat({DibHeader({.width = 8193,
                                                                           .height = 8192,
                                                                           .bitCount = 8,
                                                                           .compression = kBiRle8,
                                                                           .colorsUsed = 1}),
                                                                Palette({c0})}),
                                                           {0, 1})},
      {"huge width and height", Plain({.width = 0x7FFFFFFF, .height = -0x7FFFFFFF})},
      {"0 bits", Plain({.width = 2, .height = 2, .bitCount = 0})},
      {"2 bits", Plain({.width = 2, .height = 2, .bitCount = 2})},
      {"64 bits", Plain({.width = 2, .height = 2, .bitCount = 64})},
      {"core header, 16 bits", Plain({.headerSize = 12, .width = 2, .height = 2, .bitCount = 16})},
      {"core header, 32 bits", Plain({.headerSize = 12, .width = 2, .height = 2, .bitCount = 32})},
      {"JPEG inside", Plain({.width = 2, .height = 2, .compression = 4})},
      {"PNG inside", Plain({.width = 2, .height = 2, .compression = 5})},
      {"unknown compression", Plain({.width = 2, .height = 2, .compression = 7})},
      {"RLE8 at 4 bits", Plain({.width = 2, .height = 2, .bitCount = 4, .compression = kBiRle8})},
      {"RLE4 at 8 bits", Plain({.width = 2, .height = 2, .bitCount = 8, .compression = kBiRle4})},
      {"RLE8 at 24 bits", Plain({.width = 2, .height = 2, .bitCount = 24, .compression = kBiRle8})},
      {"RLE8 top-down",
       Plain({.width = 2, .height = -2, .bitCount = 8, .compression = kBiRle8, .colorsUsed = 1},
             Palette({c0}))},
      {"bit fields at 24 bits",
       Plain({.width = 2, .height = 2, .bitCount = 24, .compression = kBiBitfields},
             Words({0xFF0000, 0xFF00, 0xFF}))},
      {"bit fields at 8 bits",
       Plain({.width = 2, .height = 2, .bitCount = 8, .compression = kBiBitfields},
             Words({0xE0, 0x1C, 0x3}))},
      {"empty green mask", Masks16({0xF800, 0, 0x1F})},
      {"overlapping masks", Masks16({0xFC00, 0x07E0, 0x1F})},
      {"mask with a gap", Masks16({0xF000, 0x0A00, 0x1F})},
      {"mask wider than 16 bits", Masks16({0x1F800, 0x07E0, 0x1F})},
      {"alpha overlaps a colour",
       Plain({.width = 2, .height = 2, .bitCount = 32, .compression = kBiAlphaBitfields},
             Words({0xFF0000, 0xFF00, 0xFF, 0xFF800000}), 16)},
      {"mask words cut short", Head(Masks16({0xF800, 0x07E0, 0x1F}), 14 + 40 + 8)},
      {"palette cut short",
       BmpFile(Cat({DibHeader({.width = 1, .height = 1, .bitCount = 8}), Bytes(40, 0)}),
               {0, 0, 0, 0})},
      {"more colours used than 8 bits hold",
       Plain({.width = 2, .height = 2, .bitCount = 8, .colorsUsed = 257}, Bytes(257 * 4, 0))},
      {"three colours used at 1 bit",
       Plain({.width = 2, .height = 2, .bitCount = 1, .colorsUsed = 3}, Palette({c0, c1, c2}))},
      {"rows overlap the palette",
       WithOffBits(
           Plain({.width = 2, .height = 2, .bitCount = 8, .colorsUsed = 2}, Palette({c0, c1})),
           14 + 40 + 4)},
      {"palette index beyond the palette",
       BmpFile(Cat({DibHeader({.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 2}),
                    Palette({c0, c1})}),
               {1, 2, 0, 0})},
      {"1-bit index beyond a one-colour palette",
       BmpFile(Cat({DibHeader({.width = 2, .height = 1, .bitCount = 1, .colorsUsed = 1}),
                    Palette({c0})}),
               {0x40, 0, 0, 0})},
      {"rows one byte short", Head(good, good.size() - 1)},
      {"large picture in a small file", Plain({.width = 8000, .height = 8000})},
      {"RLE count without its value", Rle8({2, 1, 2})},
      {"RLE absolute run cut short", Rle8({0, 5, 1, 1})},
      {"RLE move cut short", Rle8({0, 2, 1})},
      {"RLE index beyond the palette", Rle8({2, 2, 0, 1})},
      {"RLE absolute index beyond the palette", Rle8({0, 3, 0, 1, 7, 0})},
      {"RLE image size past the end", Rle8({2, 1, 0, 1}, 5)},
  };
  for (const Broken& c : cases) {
    EXPECT_THROW(ReadBmp(c.file), DecodeError) << c.name;
  }
}

TEST(ReadDib, ReportsWhereTheRowsEnd) {
  const Bytes dib = Cat({DibHeader({.width = 3, .height = 2, .bitCount = 4, .colorsUsed = 2}),
                         Palette({c0, c1}), Bytes(8, 0x01), Bytes{0xEE}});
  const DibImage image = ReadDib(dib, DibKind::kBitmap);
  EXPECT_EQ(image.bitCount, 4);
  EXPECT_EQ(image.pixelEnd, 40u + 8 + 8);
  const DibInfo info = ReadDibInfo(dib, DibKind::kBitmap);
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.bitCount, 4);
}

TEST(ReadDib, DeepPicturesSkipTheirColourTableBeforeTheRows) {
  // A 24-bit DIB may carry a colour table; without a file header the rows
  // follow it.
  const Bytes dib = Cat({DibHeader({.width = 1, .height = 1, .bitCount = 24, .colorsUsed = 2}),
                         Palette({c0, c1}), Bytes{1, 2, 3, 0}});
  ExpectPicture(ReadDib(dib, DibKind::kBitmap).picture, {1, 1, false, {0x030201}}, "24 bits");
  EXPECT_THROW(ReadDib(Bytes(dib.begin(), dib.end() - 4), DibKind::kBitmap), DecodeError);
}

TEST(ReadDib, IconFrameHalvesTheHeight) {
  const Bytes dib =
      Cat({DibHeader({.width = 1, .height = 4, .bitCount = 24}), Bytes{1, 2, 3, 0, 4, 5, 6, 0}});
  const DibImage image = ReadDib(dib, DibKind::kIconFrame);
  ExpectPicture(image.picture, {1, 2, false, {0x060504, 0x030201}}, "icon frame");
  EXPECT_EQ(image.pixelEnd, dib.size());
  EXPECT_EQ(ReadDibInfo(dib, DibKind::kIconFrame).height, 2);
  const Bytes topDown = Cat({DibHeader({.width = 1, .height = -4, .bitCount = 24}), Bytes(8, 0)});
  EXPECT_THROW(ReadDib(topDown, DibKind::kIconFrame), DecodeError);
  const Bytes oneRow = Cat({DibHeader({.width = 1, .height = 1, .bitCount = 24}), Bytes(8, 0)});
  EXPECT_THROW(ReadDib(oneRow, DibKind::kIconFrame), DecodeError);
}

}  // namespace
}  // namespace nestova::imagelist
