#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ico.h"
#include "pictures.h"
#include "raster.h"

namespace artgen {
namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<uint32_t>(bytes[at + 3]) << 24;
}

struct PixelCase {
  int x, y;
  Rgba colour;
  uint8_t bgra[4];
};

// Every pixel differs, one is fully transparent, and out-of-range channels
// and half alpha check clamping and rounding.
const PixelCase kPixels[] = {
    {0, 0, {1.0f, 0.0f, 0.0f, 1.0f}, {0x00, 0x00, 0xFF, 0xFF}},
    {1, 0, {0.0f, 1.0f, 0.0f, 0.5f}, {0x00, 0xFF, 0x00, 0x80}},
    {2, 0, {0.2f, 0.4f, 0.6f, 0.0f}, {0x00, 0x00, 0x00, 0x00}},
    {0, 1, {0.0f, 0.0f, 1.0f, 1.0f}, {0xFF, 0x00, 0x00, 0xFF}},
    {1, 1, {1.5f, -0.5f, 0.25f, 1.0f}, {0x40, 0x00, 0xFF, 0xFF}},
    {2, 1, {1.0f, 1.0f, 1.0f, 0.2f}, {0xFF, 0xFF, 0xFF, 0x33}},
};

TEST(EncodeIco, WritesHeaderPixelsBottomUpAndMask) {
  Image image(3, 2);
  for (const PixelCase& p : kPixels) image.At(p.x, p.y) = p.colour;

  std::vector<uint8_t> expected = {
      0,  0, 1, 0, 1,  0,  // icon directory
      3,  2, 0, 0, 1,  0, 32, 0,
      72, 0, 0, 0, 22, 0, 0,  0,  // entry: 40 + 24 + 8 bytes at 22
      40, 0, 0, 0, 3,  0, 0,  0,
      4,  0, 0, 0, 1,  0, 32, 0,  // size, width, 2 x height, planes, bits
      0,  0, 0, 0, 24, 0, 0,  0,  // BI_RGB, colour bytes
      0,  0, 0, 0, 0,  0, 0,  0,
      0,  0, 0, 0, 0,  0, 0,  0,
  };
  for (int y = 1; y >= 0; --y)
    for (const PixelCase& p : kPixels)
      if (p.y == y) expected.insert(expected.end(), std::begin(p.bgra), std::end(p.bgra));
  // Mask rows are bottom-up and padded to 4 bytes; only (2, 0) is transparent.
  const uint8_t mask[] = {0x00, 0, 0, 0, 0x20, 0, 0, 0};
  expected.insert(expected.end(), std::begin(mask), std::end(mask));

  EXPECT_EQ(EncodeIco(image), expected);
}

TEST(EncodeIco, SizesFieldsAndPadsMaskRows) {
  struct Case {
    int width, height;
    size_t fileBytes;
    uint8_t sizeByte;
  };
  const Case cases[] = {
      {1, 1, 22 + 40 + 4 + 4, 1},
      {33, 2, 22 + 40 + 33 * 2 * 4 + 8 * 2, 33},
      {128, 128, 22 + 40 + 128 * 128 * 4 + 16 * 128, 128},
      {256, 256, 22 + 40 + 256 * 256 * 4 + 32 * 256, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const std::vector<uint8_t> bytes = EncodeIco(Image(c.width, c.height));
    ASSERT_EQ(bytes.size(), c.fileBytes);
    EXPECT_EQ(bytes[6], c.sizeByte);
    EXPECT_EQ(Read32(bytes, 14), c.fileBytes - 22);
    EXPECT_EQ(Read32(bytes, 22 + 8), static_cast<uint32_t>(2 * c.height));
    // A blank image is all transparent: one mask bit per pixel, none in the padding.
    int maskBits = 0;
    for (size_t i = 62 + static_cast<size_t>(c.width * c.height * 4); i < bytes.size(); ++i)
      maskBits += std::popcount(bytes[i]);
    EXPECT_EQ(maskBits, c.width * c.height);
  }
  EXPECT_THROW(EncodeIco(Image(257, 1)), std::invalid_argument);
}

TEST(EncodeIco, ListsImagesSmallestFirstWithOffsetsToEachHeader) {
  Image big(2, 2);
  Image small(1, 1);
  big.At(1, 0) = {1.0f, 0.0f, 0.0f, 1.0f};
  small.At(0, 0) = {0.0f, 0.0f, 1.0f, 0.5f};
  const std::vector<uint8_t> bytes = EncodeIco({big, small});

  const std::vector<uint8_t> directory = {
      0,  0, 1, 0, 2,  0,  // two icon images
      1,  1, 0, 0, 1,  0, 32, 0,
      48, 0, 0, 0, 38, 0, 0,  0,  // 1 x 1: 40 + 4 + 4 bytes after the directory
      2,  2, 0, 0, 1,  0, 32, 0,
      64, 0, 0, 0, 86, 0, 0,  0,  // 2 x 2: 40 + 16 + 8 bytes after that
  };
  ASSERT_EQ(bytes.size(), 38u + 48u + 64u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 38), directory);

  // Each offset leads to that image's header and data, laid out exactly as
  // in a single-image file.
  const std::pair<const Image*, size_t> entries[] = {{&small, 38}, {&big, 86}};
  for (const auto& [image, offset] : entries) {
    SCOPED_TRACE(image->width);
    EXPECT_EQ(Read32(bytes, offset), 40u);
    EXPECT_EQ(Read32(bytes, offset + 4), static_cast<uint32_t>(image->width));
    const std::vector<uint8_t> alone = EncodeIco(*image);
    const std::vector<uint8_t> resource(alone.begin() + 22, alone.end());
    const size_t end = offset + resource.size();
    ASSERT_LE(end, bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(end)),
              resource);
  }
}

TEST(EncodeIco, RejectsEmptyRepeatedAndOversizedImageLists) {
  const std::vector<Image> cases[] = {
      {},
      {Image(16, 16), Image(32, 32), Image(16, 16)},
      {Image(16, 16), Image(257, 16)},
  };
  for (const std::vector<Image>& images : cases) {
    SCOPED_TRACE(images.size());
    EXPECT_THROW(EncodeIco(images), std::invalid_argument);
  }
}

TEST(WriteBytes, WritesFileAndReportsUnwritablePath) {
  const std::string path = ::testing::TempDir() + "artgen_test.ico";
  const std::vector<uint8_t> bytes = {0, 1, 2, 0xFE, 0xFF};
  WriteBytes(path, bytes);
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}), bytes);

  // A path below a plain file cannot be created, even by root.
  EXPECT_THROW(WriteBytes(path + "/child.ico", bytes), std::runtime_error);
}

bool Greenish(Rgba c) { return c.g > c.r + 0.15f && c.g > c.b + 0.15f; }
bool Reddish(Rgba c) { return c.r > c.g + 0.3f && c.r > c.b + 0.3f; }
bool Greyish(Rgba c) { return std::abs(c.r - c.g) < 0.02f && std::abs(c.g - c.b) < 0.02f; }
bool Manila(Rgba c) { return c.r > 0.7f && c.g > 0.45f && c.r > c.b + 0.3f; }

struct PictureCase {
  const char* name;
  Image (*draw)(int size);
  std::vector<int> sizes;  // those the program asks Windows for
  int designSize;          // the size the design was first drawn at
  bool (*hasTheirColour)(Rgba);
  double minColourShare;  // of the mostly opaque pixels
  // Smaller sizes are simplified: their outline is fitted to whole pixels,
  // so only corners and slopes stay soft, and small details such as the
  // app icon's badge are enlarged, taking a larger share of the colours.
  int simplifiedBelow;
};

const PictureCase kPictures[] = {
    {"apply", DrawApplyGlyph, {16, 20, 24, 32}, 16, Greenish, 0.95, 0},
    {"cancel", DrawCancelGlyph, {16, 20, 24, 32}, 16, Reddish, 0.6, 0},
    {"clear", DrawClearGlyph, {16, 20, 24, 32}, 16, Greyish, 1.0, 0},
    {"app", DrawAppIcon, {16, 24, 32, 48, 64, 128}, 128, Manila, 0.6, 48},
};

// Rounded corners leave at least this many soft pixels on a fitted outline.
constexpr int kSimplifiedSoftPixels = 4;
// How much of its colour share a simplified picture may give to enlarged details.
constexpr double kSimplifiedShareLoss = 0.15;

TEST(Pictures, HaveTheirSizeSoftEdgesAndClearCorners) {
  for (const PictureCase& c : kPictures) {
    for (const int size : c.sizes) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size));
      const Image image = c.draw(size);
      ASSERT_EQ(image.width, size);
      ASSERT_EQ(image.height, size);

      int opaque = 0, partial = 0;
      for (const Rgba& p : image.pixels) {
        opaque += p.a > 0.99f;
        partial += p.a > 0.05f && p.a < 0.95f;
      }
      EXPECT_GT(opaque, size * size / 10) << "the picture is nearly empty";
      const bool simplified = size < c.simplifiedBelow;
      EXPECT_GT(partial, simplified ? kSimplifiedSoftPixels : size) << "edges are not anti-aliased";

      const int last = size - 1;
      for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
        EXPECT_EQ(image.At(x, y).a, 0.0f) << "corner " << x << "," << y;
    }
  }
}

TEST(Pictures, AreMostlyTheirColour) {
  for (const PictureCase& c : kPictures) {
    for (const int size : c.sizes) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size));
      const Image image = c.draw(size);
      int solid = 0, matching = 0;
      for (const Rgba& p : image.pixels) {
        if (p.a < 0.5f) continue;
        ++solid;
        matching += c.hasTheirColour(p);
      }
      ASSERT_GT(solid, 0);
      const double loss = size < c.simplifiedBelow ? kSimplifiedShareLoss : 0.0;
      EXPECT_GE(static_cast<double>(matching) / solid, c.minColourShare - loss);
    }
  }
}

// How much of the square a picture covers and where its weight sits, both
// relative to its size, so pictures of different sizes can be compared.
struct Footprint {
  double coverage = 0, centreX = 0, centreY = 0;
};

Footprint FootprintOf(const Image& image) {
  Footprint f;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const double a = image.At(x, y).a;
      f.coverage += a;
      f.centreX += a * (x + 0.5);
      f.centreY += a * (y + 0.5);
    }
  }
  f.centreX /= f.coverage * image.width;
  f.centreY /= f.coverage * image.height;
  f.coverage /= static_cast<double>(image.width) * image.height;
  return f;
}

TEST(Pictures, KeepTheirDesignAtEverySize) {
  for (const PictureCase& c : kPictures) {
    const Footprint design = FootprintOf(c.draw(c.designSize));
    for (const int size : c.sizes) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size));
      const Footprint f = FootprintOf(c.draw(size));
      // Fitting to the pixel grid moves edges by up to a pixel, and small
      // sizes may drop details, but the picture keeps its weight and place.
      EXPECT_NEAR(f.coverage / design.coverage, 1.0, 0.2);
      EXPECT_NEAR(f.centreX, design.centreX, 0.04);
      EXPECT_NEAR(f.centreY, design.centreY, 0.04);
    }
  }
}

TEST(Pictures, RejectSizesTheyAreNotFittedFor) {
  for (const PictureCase& c : kPictures) {
    for (const int size : {-16, 0, 18, 40, 256}) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size));
      EXPECT_THROW(c.draw(size), std::invalid_argument);
    }
  }
}

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  return hash;
}

// These checksums pin the reviewed 16 px glyph design: they are the exact
// bytes the glyphs had before they could be drawn at other sizes. Update one
// only for a deliberate redesign, after looking at the result.
TEST(Glyphs, Keep16PixelDesign) {
  const std::pair<Image (*)(int), uint64_t> cases[] = {
      {DrawApplyGlyph, 0x2D8DF45578CCC739ull},
      {DrawCancelGlyph, 0xA621DF44787789D8ull},
      {DrawClearGlyph, 0x7B4300410908F855ull},
  };
  for (const auto& [draw, checksum] : cases) EXPECT_EQ(Fnv1a(EncodeIco(draw(16))), checksum);
}

bool Crisp(float alpha) { return alpha <= 1.0f / 255 || alpha >= 254.0f / 255; }

// The return arrow's two horizontal strokes are fitted to the pixel grid, so a
// column through them meets only clear or opaque pixels: two runs of them.
TEST(Glyphs, ClearArrowStrokesAreCrispAtEverySize) {
  for (const int size : {16, 20, 24, 32}) {
    SCOPED_TRACE(size);
    const Image image = DrawClearGlyph(size);
    int strokes = 0;
    bool inStroke = false;
    for (int y = 0; y < size; ++y) {
      const float alpha = image.At(size / 2, y).a;
      EXPECT_TRUE(Crisp(alpha)) << "row " << y << " alpha " << alpha;
      const bool opaque = alpha > 0.5f;
      strokes += opaque && !inStroke;
      inStroke = opaque;
    }
    EXPECT_EQ(strokes, 2);
  }
}

// Small app icons have no soft shadows and whole-pixel edges, so the folder's
// outline stays sharp where a blur would make it unreadable.
TEST(Pictures, SmallAppIconsHaveSharpFolderEdges) {
  for (const int size : {16, 24, 32}) {
    SCOPED_TRACE(size);
    const Image image = DrawAppIcon(size);
    // A column down through the tab and a row in from the left side both
    // pass from clear to opaque without a blurred pixel between.
    const int inside = size / 4;
    EXPECT_EQ(image.At(inside, 0).a, 0.0f);
    EXPECT_EQ(image.At(inside, size / 2).a, 1.0f);
    EXPECT_EQ(image.At(0, size / 2).a, 0.0f);
    for (int y = 0; y < size; ++y)
      EXPECT_TRUE(Crisp(image.At(inside, y).a)) << "tab and bottom, row " << y;
    for (int x = 0; x <= inside; ++x)
      EXPECT_TRUE(Crisp(image.At(x, size / 2).a)) << "left side, column " << x;
  }
}

}  // namespace
}  // namespace artgen
