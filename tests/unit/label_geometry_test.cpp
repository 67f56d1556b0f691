#include "components/label_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace nestova::components {
namespace {

TEST(LabelGeometry, NearestRoundsHalvesToEven) {
  struct Case {
    double x;
    int nearest;
  };
  const Case cases[] = {
      {0.5, 0},   {1.5, 2}, {2.5, 2},         {-0.5, 0},         {-1.5, -2},
      {-2.5, -2}, {2.4, 2}, {2.6, 3},         {-2.6, -3},        {-2.4, -2},
      {7.0, 7},   {0.0, 0}, {1e300, INT_MAX}, {-1e300, INT_MIN}, {2147483647.5, INT_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(Nearest(c.x), c.nearest) << c.x;
  EXPECT_EQ(Nearest(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(Nearest(std::numeric_limits<double>::infinity()), INT_MAX);
}

TEST(LabelGeometry, RotatedBoxAndOrigin) {
  struct Case {
    int w;
    int h;
    int angle;
    RotatedBox box;
  };
  const Case cases[] = {
      {40, 13, 0, {40, 13, 0, 0}},
      {40, 13, 360, {40, 13, 0, 0}},
      // dx = nearest(13.5) + (13 - 40) div 2 = 14 - 13; dy = nearest(26.5) + 13 = 26 + 13
      {40, 13, 90, {13, 40, 1, 39}},
      // dx = nearest(14) - 14; dy = nearest(27) + 14
      {41, 13, 90, {13, 41, 0, 41}},
      {40, 13, 180, {40, 13, 40, 13}},
      // dx = nearest(26.5) + (13 - 40) div 2 = 26 - 13; dy = nearest(-13.5) + 13 = -14 + 13
      {40, 13, 270, {13, 40, 13, -1}},
      {40, 13, -90, {13, 40, 13, -1}},
      {40, 13, 630, {13, 40, 13, -1}},
      // c = s = 0.7071: W' = H' = nearest(37.48); dx = nearest(1.26) - 1; dy = nearest(16.05) + 12
      {40, 13, 45, {37, 37, 0, 28}},
      {40, 13, 30, {41, 31, -1, 20}},
      {40, 13, -30, {41, 31, 6, 0}},
      {40, 13, 135, {37, 37, 29, 37}},
      {40, 13, 200, {42, 26, 42, 12}},
      // An empty text stays an empty box at its origin.
      {0, 0, 90, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RotateTextBox(c.w, c.h, c.angle), c.box) << c.w << "x" << c.h << " at " << c.angle;
  }
}

TEST(LabelGeometry, RotationOfExtremeValuesStaysInRange) {
  const RotatedBox box = RotateTextBox(INT_MAX, INT_MAX, 45);
  EXPECT_EQ(box.width, INT_MAX);
  EXPECT_EQ(box.height, INT_MAX);
  const RotatedBox turned = RotateTextBox(INT_MAX, 13, INT_MIN);  // INT_MIN % 360 = -128
  EXPECT_GT(turned.width, 0);
}

constexpr LabelRect kRect{0, 0, 100, 30};
constexpr ShadowExtents kFolderExtents{-3, 5};

TEST(LabelGeometry, TextRectForEachAlignmentAndLayout) {
  struct Case {
    TextAlignment alignment;
    TextLayout layout;
    int left;
    int top;
  };
  // Box 40 x 13 in 100 x 30, extents (-3, 5), offset 1.
  const Case cases[] = {
      {TextAlignment::kLeft, TextLayout::kTop, 3, 3},
      {TextAlignment::kLeft, TextLayout::kBottom, 3, 12},  // 30 - 13 - 5
      {TextAlignment::kLeft, TextLayout::kCenter, 3, 8},   // (30 - 13 - 2) div 2 + 1
      {TextAlignment::kRight, TextLayout::kTop, 55, 3},    // 100 - 40 - 5
      {TextAlignment::kRight, TextLayout::kBottom, 55, 12},
      {TextAlignment::kRight, TextLayout::kCenter, 55, 8},
      {TextAlignment::kCenter, TextLayout::kTop, 30, 3},  // (100 - 40 - 2) div 2 + 1
      {TextAlignment::kCenter, TextLayout::kBottom, 30, 12},
      {TextAlignment::kCenter, TextLayout::kCenter, 30, 8},
  };
  for (const Case& c : cases) {
    const LabelRect tr = TextRectFor(kRect, 40, 13, c.alignment, c.layout, kFolderExtents, 1);
    EXPECT_EQ(tr, (LabelRect{c.left, c.top, c.left + 40, c.top + 13}))
        << static_cast<int>(c.alignment) << "/" << static_cast<int>(c.layout);
  }
}

TEST(LabelGeometry, TextRectStartsFromTheRectsOwnEdges) {
  const LabelRect rect{10, 20, 110, 50};
  EXPECT_EQ(TextRectFor(rect, 40, 13, TextAlignment::kLeft, TextLayout::kTop, kFolderExtents, 1),
            (LabelRect{13, 23, 53, 36}));
  EXPECT_EQ(
      TextRectFor(rect, 40, 13, TextAlignment::kRight, TextLayout::kBottom, kFolderExtents, 1),
      (LabelRect{65, 32, 105, 45}));
}

TEST(LabelGeometry, CentringRoundsTowardZero) {
  // A text wider and taller than the label: (100 - 111 - 2) div 2 = -6, not -7.
  const LabelRect tr =
      TextRectFor(kRect, 111, 35, TextAlignment::kCenter, TextLayout::kCenter, kFolderExtents, 1);
  EXPECT_EQ(tr.left, -5);
  EXPECT_EQ(tr.top, -2);  // (30 - 35 - 2) div 2 + 1 = -3 + 1
  // No shadow: plain centring.
  EXPECT_EQ(TextRectFor(kRect, 41, 14, TextAlignment::kCenter, TextLayout::kCenter, {}, 0),
            (LabelRect{29, 8, 70, 22}));
}

TEST(LabelGeometry, FolderLabelFigures) {
  // Lbl_Folder: 568 x 26, extents (-3, 5), offset 1: left (568 - w - 2) div 2
  // + 1, top (26 - h - 2) div 2 + 1.
  const LabelRect folder{0, 0, 568, 26};
  struct Case {
    int w;
    int h;
    int left;
    int top;
  };
  const Case cases[] = {
      {100, 13, 234, 6}, {101, 13, 233, 6},  {0, 0, 284, 13},
      {566, 16, 1, 5},   {601, 30, -16, -2}, {600, 31, -16, -2},
  };
  for (const Case& c : cases) {
    const LabelRect tr = TextRectFor(folder, c.w, c.h, TextAlignment::kCenter, TextLayout::kCenter,
                                     kFolderExtents, 1);
    EXPECT_EQ(tr, (LabelRect{c.left, c.top, c.left + c.w, c.top + c.h})) << c.w << "x" << c.h;
  }
}

TEST(LabelGeometry, TextRectSaturatesInsteadOfOverflowing) {
  const LabelRect huge{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
  EXPECT_EQ(
      TextRectFor(huge, INT_MAX, INT_MAX, TextAlignment::kLeft, TextLayout::kTop, {-1000, 0}, 0),
      (LabelRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}));
  const LabelRect tiny{INT_MIN, INT_MIN, INT_MIN, INT_MIN};
  const LabelRect tr =
      TextRectFor(tiny, INT_MAX, INT_MAX, TextAlignment::kRight, TextLayout::kBottom, {0, 1000}, 0);
  EXPECT_EQ(tr.left, INT_MIN);
  EXPECT_EQ(tr.top, INT_MIN);
}

TEST(LabelGeometry, RightToLeftSwapsLeftAndRight) {
  EXPECT_EQ(MirroredForRightToLeft(TextAlignment::kLeft, true), TextAlignment::kRight);
  EXPECT_EQ(MirroredForRightToLeft(TextAlignment::kRight, true), TextAlignment::kLeft);
  EXPECT_EQ(MirroredForRightToLeft(TextAlignment::kCenter, true), TextAlignment::kCenter);
  EXPECT_EQ(MirroredForRightToLeft(TextAlignment::kLeft, false), TextAlignment::kLeft);
}

}  // namespace
}  // namespace nestova::components
