#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "components/TacOffsetKeeper.h"
#include "components/TsShadow.h"

namespace nestova::components {
namespace {

TEST(LabelShadow, DefaultsGiveTheFolderLabelsShadowAndWhiteText) {
  const TsShadow shadow;
  EXPECT_EQ(CurrentShadowData(shadow, std::nullopt), (TShadowData{kClBlack, 4, 1, 255}));
  EXPECT_EQ(ExtentsOf(CurrentShadowData(shadow, std::nullopt)), (ShadowExtents{-3, 5}));
  EXPECT_EQ(CurrentFontColor(TsKind{}, 0x00F0F0F0, std::nullopt), kClWhite);
  EXPECT_FALSE(shadow.Buffered());
}

TEST(LabelShadow, EffectiveShadowByMode) {
  TsShadow shadow;
  shadow.SetColor(0x00123456);
  shadow.SetBlurCount(6);
  shadow.SetDistance(-2);
  shadow.SetAlphaValue(100);
  const TShadowData own{0x00123456, 6, -2, 100};
  const SkinShadow skin{0x00ABCDEF, 3, 2};
  const SkinShadow skinWithout{0x00ABCDEF, -1, 2};
  const SkinShadow wildSkin{0x00ABCDEF, 100000, -50000};

  shadow.SetMode(TsShadowMode::smNone);
  EXPECT_EQ(CurrentShadowData(shadow, skin), (TShadowData{0, 0, 0, 0}));
  shadow.SetMode(TsShadowMode::smCustom);
  EXPECT_EQ(CurrentShadowData(shadow, skin), own);  // the skin is not asked
  shadow.SetMode(TsShadowMode::smSkin1);
  EXPECT_EQ(CurrentShadowData(shadow, std::nullopt), own);
  EXPECT_EQ(CurrentShadowData(shadow, skinWithout), own);
  // The skin's colour, blur and offset, with the shadow's own alpha.
  EXPECT_EQ(CurrentShadowData(shadow, skin), (TShadowData{0x00ABCDEF, 3, 2, 100}));
  EXPECT_EQ(CurrentShadowData(shadow, wildSkin), (TShadowData{0x00ABCDEF, 255, -1000, 100}));
}

TEST(LabelShadow, TextColourByKind) {
  const ColorRef labelColor = 0x00F0F0F0;
  const ColorRef skinColor = 0x00112233;
  TsKind kind;
  kind.Color = 0x00445566;
  kind.KindType = TsKindType::ktStandard;
  EXPECT_EQ(CurrentFontColor(kind, labelColor, skinColor), labelColor);
  kind.KindType = TsKindType::ktCustom;
  EXPECT_EQ(CurrentFontColor(kind, labelColor, skinColor), 0x00445566u);
  kind.KindType = TsKindType::ktSkin;
  EXPECT_EQ(CurrentFontColor(kind, labelColor, skinColor), skinColor);
  EXPECT_EQ(CurrentFontColor(kind, labelColor, std::nullopt), 0x00445566u);
}

TEST(LabelShadow, BlurAndDistanceAreClamped) {
  struct Case {
    int asked;
    int blur;
    int distance;
  };
  const Case cases[] = {
      {0, 0, 0},           {255, 255, 255},   {256, 255, 256},
      {-1, 0, -1},         {1000, 255, 1000}, {1001, 255, 1000},
      {-1000, 0, -1000},   {-1001, 0, -1000}, {INT_MAX, 255, 1000},
      {INT_MIN, 0, -1000},
  };
  for (const Case& c : cases) {
    TsShadow shadow;
    shadow.SetBlurCount(c.asked);
    shadow.SetDistance(c.asked);
    EXPECT_EQ(shadow.BlurCount(), c.blur) << c.asked;
    EXPECT_EQ(shadow.Distance(), c.distance) << c.asked;
  }
}

TEST(LabelShadow, SettersReportAChangeOnlyWhenTheValueChanged) {
  TsShadow shadow;
  EXPECT_FALSE(shadow.SetBlurCount(4));
  EXPECT_TRUE(shadow.SetBlurCount(300));
  EXPECT_FALSE(shadow.SetBlurCount(256));  // clamps to the 255 already held
  EXPECT_FALSE(shadow.SetDistance(1));
  EXPECT_TRUE(shadow.SetDistance(-5000));
  EXPECT_FALSE(shadow.SetDistance(INT_MIN));
  EXPECT_FALSE(shadow.SetColor(kClBlack));
  EXPECT_TRUE(shadow.SetColor(kClNone));
  EXPECT_FALSE(shadow.SetMode(TsShadowMode::smSkin1));
  EXPECT_TRUE(shadow.SetMode(TsShadowMode::smCustom));
  EXPECT_FALSE(shadow.SetAlphaValue(255));
  EXPECT_TRUE(shadow.SetAlphaValue(0));
}

TEST(LabelShadow, Extents) {
  struct Case {
    int blur;
    int offset;
    ShadowExtents extents;
  };
  const Case cases[] = {
      {4, 1, {-3, 5}},
      {2, 1, {-1, 3}},
      {0, 1, {0, 1}},
      {0, -2, {-2, 0}},
      {0, 0, {0, 0}},
      {1, 1, {0, 2}},
      {3, -1, {-4, 2}},
      {255, -1000, {-1255, 0}},
      // Hand-made data outside the setters' ranges neither overflows nor wraps.
      {INT_MAX, INT_MIN, {INT_MIN, 0}},
      {INT_MIN, INT_MAX, {0, 0}},
      {INT_MAX, INT_MAX, {0, INT_MAX}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtentsOf(TShadowData{kClBlack, c.blur, c.offset, 255}), c.extents)
        << c.blur << "/" << c.offset;
  }
}

constexpr LabelBounds kBounds{100, 50, 200, 40};

TEST(OffsetKeeper, KeeperMatchingTheShadowLeavesTheBounds) {
  // Lbl_Folder: stored (-3, 5) equals the extents of blur 4, offset 1.
  TacOffsetKeeper keeper;
  keeper.SetLeftTop(-3);
  keeper.SetRightBottom(5);
  const ShadowExtents now = ExtentsOf(CurrentShadowData(TsShadow{}, std::nullopt));
  const LabelBounds folder{0, 0, 568, 26};
  EXPECT_EQ(keeper.AdjustBounds(folder, now, TextAlignment::kCenter, TextLayout::kCenter), folder);
  EXPECT_EQ(keeper.UpdatePosition(folder, now, TextAlignment::kCenter, TextLayout::kCenter),
            std::nullopt);
}

TEST(OffsetKeeper, SmallerBlurShrinksACentredLabelAroundItsText) {
  TsShadow shadow;
  shadow.OffsetKeeper().SetLeftTop(-3);
  shadow.OffsetKeeper().SetRightBottom(5);
  ASSERT_TRUE(shadow.SetBlurCount(2));
  const ShadowExtents now = ExtentsOf(CurrentShadowData(shadow, std::nullopt));
  const std::optional<LabelBounds> moved = shadow.OffsetKeeper().UpdatePosition(
      kBounds, now, TextAlignment::kCenter, TextLayout::kCenter);
  // 4 px narrower and less high, 2 px right and down.
  EXPECT_EQ(moved, (LabelBounds{102, 52, 196, 36}));
  EXPECT_EQ(shadow.OffsetKeeper().Extents(), (ShadowExtents{-1, 3}));
  // And back again.
  ASSERT_TRUE(shadow.SetBlurCount(4));
  EXPECT_EQ(shadow.OffsetKeeper().UpdatePosition(*moved,
                                                 ExtentsOf(CurrentShadowData(shadow, std::nullopt)),
                                                 TextAlignment::kCenter, TextLayout::kCenter),
            kBounds);
  EXPECT_EQ(shadow.OffsetKeeper().Extents(), (ShadowExtents{-3, 5}));
}

TEST(OffsetKeeper, EdgesMoveByAlignmentAndLayout) {
  // Distance 1 -> 3 with blur 4: extents (-3, 5) -> (-1, 7). The size stays;
  // an edge-aligned side moves by LT - LTo = 2, a centred one by
  // -((-3 + 1 - 5 + 7) div 2) = 0.
  struct Case {
    TextAlignment alignment;
    TextLayout layout;
    int left;
    int top;
  };
  const Case cases[] = {
      {TextAlignment::kLeft, TextLayout::kTop, 102, 52},
      {TextAlignment::kRight, TextLayout::kBottom, 102, 52},
      {TextAlignment::kCenter, TextLayout::kCenter, 100, 50},
      {TextAlignment::kLeft, TextLayout::kCenter, 102, 50},
      {TextAlignment::kCenter, TextLayout::kBottom, 100, 52},
  };
  for (const Case& c : cases) {
    TacOffsetKeeper keeper;
    keeper.Take({-3, 5});
    EXPECT_EQ(keeper.UpdatePosition(kBounds, {-1, 7}, c.alignment, c.layout),
              (LabelBounds{c.left, c.top, 200, 40}))
        << static_cast<int>(c.alignment) << "/" << static_cast<int>(c.layout);
  }
}

TEST(OffsetKeeper, CentredShiftRoundsTowardZero) {
  // Blur 4 -> 0 at distance 1: (-3, 5) -> (0, 1); shift -((-3 - 0 - 5 + 1)
  // div 2) = 3, where rounding down would give 4.
  TacOffsetKeeper keeper;
  keeper.Take({-3, 5});
  EXPECT_EQ(keeper.AdjustBounds(kBounds, {0, 1}, TextAlignment::kCenter, TextLayout::kCenter),
            (LabelBounds{103, 53, 193, 33}));
  // The other way: (0, 0) -> (0, 2) grows by 2 and moves by -1.
  keeper.Take({0, 0});
  EXPECT_EQ(keeper.AdjustBounds(kBounds, {0, 2}, TextAlignment::kCenter, TextLayout::kCenter),
            (LabelBounds{99, 49, 202, 42}));
}

TEST(OffsetKeeper, ArithmeticSaturates) {
  // Keeper values from a form are taken as they stand, however odd.
  TacOffsetKeeper keeper;
  keeper.SetLeftTop(INT_MAX);
  keeper.SetRightBottom(INT_MIN);
  const LabelBounds far{INT_MAX, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_EQ(keeper.AdjustBounds(far, {0, 0}, TextAlignment::kLeft, TextLayout::kTop),
            (LabelBounds{0, INT_MIN, INT_MAX, INT_MAX}));
}

}  // namespace
}  // namespace nestova::components
