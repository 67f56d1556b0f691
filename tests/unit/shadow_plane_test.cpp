#include "components/shadow_plane.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace nestova::components {
namespace {

// A BGRA picture; Set marks a pixel of the shape by its blue byte.
struct Picture {
  int width;
  int height;
  std::vector<std::uint8_t> bytes;

  Picture(int w, int h, std::uint8_t fill = 0)
      : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4, fill) {}
  std::uint8_t* at(int x, int y) { return &bytes[(static_cast<std::size_t>(y) * width + x) * 4]; }
  void Set(int x, int y, std::uint8_t b, std::uint8_t g = 0, std::uint8_t r = 0) {
    at(x, y)[0] = b;
    at(x, y)[1] = g;
    at(x, y)[2] = r;
  }
};

std::vector<int> PlaneRows(const ShadowPlane& plane) {
  std::vector<int> values;
  for (int y = 0; y < plane.height(); ++y) {
    for (int x = 0; x < plane.width(); ++x) values.push_back(plane.at(x, y));
  }
  return values;
}

TEST(ShadowPlane, OnePixelSpreadsInPlaceRowByRow) {
  Picture mask(3, 3);
  mask.Set(1, 1, 255, 255, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  // Up and left neighbours are already blurred when a byte is replaced, so
  // the glow leans toward the lower right.
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 63, 15,   //
                                                63, 31, 11,  //
                                                15, 11, 5}));
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 2));
  // The shape is stamped to 255 again before the second pass.
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{31, 75, 21,  //
                                                75, 43, 17,  //
                                                21, 17, 8}));
}

TEST(ShadowPlane, OnlyTheBlueByteMakesTheShape) {
  Picture mask(3, 3);
  mask.Set(0, 0, 0, 255, 255);  // green and red only: not shape
  mask.at(0, 0)[3] = 255;
  mask.Set(1, 1, 1);  // faintest blue: shape
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 63, 15, 63, 31, 11, 15, 11, 5}));
}

TEST(ShadowPlane, BarGlowsAboveAndBelow) {
  Picture mask(5, 3);
  for (int x = 1; x <= 3; ++x) mask.Set(x, 1, 255, 255, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 5, 3, 1));
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 63, 79, 83, 20,    //
                                                63, 95, 107, 47, 16,  //
                                                15, 27, 33, 20, 9}));
}

TEST(ShadowPlane, GlowIsCutOffAtThePlaneEdge) {
  Picture mask(3, 3);
  mask.Set(0, 1, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  // The border beyond the picture stays 0 and drains the glow.
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{63, 15, 3,  //
                                                15, 7, 2,   //
                                                3, 2, 1}));
  // A lone corner pixel has no interior neighbour at all and vanishes.
  Picture corner(2, 2);
  corner.Set(0, 0, 255);
  ASSERT_TRUE(plane.Build(corner.bytes, 2, 2, 3));
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 0, 0, 0}));
}

TEST(ShadowPlane, NoPassesLeaveThePlaneEmpty) {
  Picture mask(2, 2, 255);
  ShadowPlane plane;
  for (int passes : {0, -1, INT_MIN}) {
    ASSERT_TRUE(plane.Build(mask.bytes, 2, 2, passes)) << passes;
    EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 0, 0, 0})) << passes;
  }
}

TEST(ShadowPlane, PassesAreCappedAt255) {
  Picture mask(4, 3);
  mask.Set(1, 1, 255);
  ShadowPlane capped;
  ASSERT_TRUE(capped.Build(mask.bytes, 4, 3, 255));
  ShadowPlane huge;
  // Without the cap this would run for billions of passes.
  ASSERT_TRUE(huge.Build(mask.bytes, 4, 3, INT_MAX));
  EXPECT_EQ(PlaneRows(huge), PlaneRows(capped));
}

TEST(ShadowPlane, RefusesSizesItCannotAfford) {
  struct Case {
    const char* name;
    int width;
    int height;
    std::size_t maskBytes;
  };
  const Case cases[] = {
      {"zero width", 0, 5, 0},
      {"zero height", 5, 0, 0},
      {"negative width", -3, 5, 64},
      {"negative height", 3, -5, 64},
      {"mask too small", 3, 3, 3 * 3 * 4 - 1},
      {"over the pixel limit", 1 << 13, (1 << 11) + 1, 64},
      {"product overflows int", INT_MAX, INT_MAX, 64},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> mask(c.maskBytes, 255);
    ShadowPlane plane;
    EXPECT_FALSE(plane.Build(mask, c.width, c.height, 4)) << c.name;
    EXPECT_EQ(plane.width(), 0) << c.name;
    std::vector<std::uint8_t> image(64);
    EXPECT_FALSE(plane.Compose(image, 255, kClBlack, std::nullopt)) << c.name;
  }
  EXPECT_EQ(ShadowImageBytes(1 << 12, 1 << 12), std::size_t{1} << 26);
  EXPECT_EQ(ShadowImageBytes(1 << 12, (1 << 12) + 1), std::nullopt);
}

TEST(ShadowPlane, BufferGrowsAndIsKept) {
  Picture big(10, 10);
  Picture small(2, 2);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(big.bytes, 10, 10, 1));
  const std::size_t grown = plane.capacity();
  EXPECT_GE(grown, std::size_t{12 * 12});
  ASSERT_TRUE(plane.Build(small.bytes, 2, 2, 1));
  EXPECT_EQ(plane.capacity(), grown);
  EXPECT_FALSE(plane.Build(small.bytes, 0, 2, 1));
  EXPECT_EQ(plane.capacity(), grown);
}

TEST(ShadowCompose, BlendsOverTheImageAndKeepsTheFourthByte) {
  Picture mask(3, 3);
  mask.Set(1, 1, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));  // weights 0 63 15 / 63 31 11 / 15 11 5
  Picture image(3, 3, 255);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) image.at(x, y)[3] = 0xAA;
  }
  ASSERT_TRUE(plane.Compose(image.bytes, 128, kClBlack, std::nullopt));
  // a = weight * 128 div 256, kept in the plane.
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{0, 31, 7, 31, 15, 5, 7, 5, 2}));
  // 255 * (255 - a) div 256 on each of blue, green and red; even a = 0
  // takes one step off.
  const int expected[9] = {254, 223, 247, 223, 239, 249, 247, 249, 252};
  for (int i = 0; i < 9; ++i) {
    const std::uint8_t* px = image.at(i % 3, i / 3);
    EXPECT_EQ(px[0], expected[i]) << i;
    EXPECT_EQ(px[1], expected[i]) << i;
    EXPECT_EQ(px[2], expected[i]) << i;
    EXPECT_EQ(px[3], 0xAA) << i;
  }
}

TEST(ShadowCompose, ShadowColourBytesGoToTheirChannels) {
  Picture mask(3, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) mask.Set(x, y, 255);
  }
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  ASSERT_EQ(plane.at(1, 1), 207);  // (159 + 255 + 159 + 255) div 4
  Picture image(3, 3);
  image.Set(1, 1, 200, 100, 0);
  image.at(1, 1)[3] = 77;
  const ColorRef shadow = 0x00102030;  // red 0x30, green 0x20, blue 0x10
  ASSERT_TRUE(plane.Compose(image.bytes, 255, shadow, std::nullopt));
  EXPECT_EQ(plane.at(1, 1), 206);  // 207 * 255 div 256
  const std::uint8_t* px = image.at(1, 1);
  EXPECT_EQ(px[0], 51);  // (200 * 49 + 0x10 * 206) div 256
  EXPECT_EQ(px[1], 44);  // (100 * 49 + 0x20 * 206) div 256
  EXPECT_EQ(px[2], 38);  // (0 * 49 + 0x30 * 206) div 256
  EXPECT_EQ(px[3], 77);
}

TEST(ShadowCompose, StripBlendsTowardTheShadowColour) {
  Picture strip(3, 1);
  for (int x = 0; x < 3; ++x) strip.Set(x, 0, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(strip.bytes, 3, 1, 1));
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{63, 79, 19}));
  Picture image(3, 1);
  for (int x = 0; x < 3; ++x) image.Set(x, 0, 100, 100, 100);
  ASSERT_TRUE(plane.Compose(image.bytes, 255, kClWhite, std::nullopt));
  // a = 62, 78, 18: even full weight and alpha never reach 255.
  EXPECT_EQ(PlaneRows(plane), (std::vector<int>{62, 78, 18}));
  EXPECT_EQ(image.at(0, 0)[0], 137);  // (100 * 193 + 255 * 62) div 256
  EXPECT_EQ(image.at(1, 0)[1], 146);  // (100 * 177 + 255 * 78) div 256
  EXPECT_EQ(image.at(2, 0)[2], 110);  // (100 * 237 + 255 * 18) div 256
}

TEST(ShadowCompose, SolidBackgroundReplacesTheImage) {
  Picture mask(3, 3);
  mask.Set(1, 1, 255);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  Picture image(3, 3, 9);
  const ColorRef labelColor = 0x000080FF;  // red 0xFF, green 0x80, blue 0
  ASSERT_TRUE(plane.Compose(image.bytes, 255, kClBlack, labelColor));
  // Weight 0: label colour less one step; weight 63 gives a = 62.
  const std::uint8_t* plain = image.at(0, 0);
  EXPECT_EQ(plain[0], 0);
  EXPECT_EQ(plain[1], 127);  // 128 * 255 div 256
  EXPECT_EQ(plain[2], 254);
  EXPECT_EQ(plain[3], 9);
  const std::uint8_t* shaded = image.at(1, 0);
  EXPECT_EQ(shaded[0], 0);
  EXPECT_EQ(shaded[1], 96);   // 128 * 193 div 256
  EXPECT_EQ(shaded[2], 192);  // 255 * 193 div 256
  EXPECT_EQ(shaded[3], 9);
}

TEST(ShadowCompose, AlphaOutOfRangeIsHeldTo0And255) {
  Picture mask(3, 3);
  mask.Set(1, 1, 255);
  ShadowPlane low;
  ShadowPlane high;
  ASSERT_TRUE(low.Build(mask.bytes, 3, 3, 1));
  ASSERT_TRUE(high.Build(mask.bytes, 3, 3, 1));
  Picture a(3, 3, 200);
  Picture b(3, 3, 200);
  ASSERT_TRUE(low.Compose(a.bytes, -40, kClBlack, std::nullopt));
  ASSERT_TRUE(high.Compose(b.bytes, 1 << 30, kClBlack, std::nullopt));
  EXPECT_EQ(low.at(1, 0), 0);
  EXPECT_EQ(a.at(1, 0)[0], 199);  // 200 * 255 div 256
  EXPECT_EQ(high.at(1, 0), 62);   // 63 * 255 div 256
  EXPECT_EQ(b.at(1, 0)[0], 150);  // 200 * 193 div 256
}

TEST(ShadowCompose, RefusesAnImageSmallerThanThePlane) {
  Picture mask(3, 3);
  ShadowPlane plane;
  ASSERT_TRUE(plane.Build(mask.bytes, 3, 3, 1));
  std::vector<std::uint8_t> image(3 * 3 * 4 - 1, 7);
  EXPECT_FALSE(plane.Compose(image, 255, kClBlack, std::nullopt));
  EXPECT_EQ(image, std::vector<std::uint8_t>(3 * 3 * 4 - 1, 7));
}

}  // namespace
}  // namespace nestova::components
