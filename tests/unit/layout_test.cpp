#include "ui/layout.h"

#include <gtest/gtest.h>

#include "app/main_layout.h"

namespace nestova::ui {
namespace {

TEST(Layout, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(13, 144, 96), 20);  // 19.5
  EXPECT_EQ(MulDiv(-13, 144, 96), -20);
  EXPECT_EQ(MulDiv(5, 120, 96), 6);  // 6.25
  EXPECT_EQ(MulDiv(7, 120, 96), 9);  // 8.75
  EXPECT_EQ(MulDiv(568, 96, 96), 568);
  EXPECT_EQ(MulDiv(1 << 30, 3, 4), 805306368);  // no overflow in the product
}

std::vector<Rect> MainAt(int dpi, Size client) {
  return ComputeLayout(kMainLayout, kMainDesignClient, dpi, client);
}

TEST(Layout, MainWindowAtDesignSizeMatchesTheTable) {
  const std::vector<Rect> r = MainAt(96, kMainDesignClient);
  for (int i = 0; i < kMainControlCount; ++i) {
    EXPECT_EQ(r[i], kMainLayout[i].design) << "control " << i;
  }
}

TEST(Layout, MaximisedMainWindowGrowsTheViewsAndKeepsTheButtons) {
  const int dx = 1000 - 568, dy = 700 - 446;
  const std::vector<Rect> r = MainAt(96, {1000, 700});
  EXPECT_EQ(r[kLblFolder], (Rect{0, 0, 1000, 26}));
  EXPECT_EQ(r[kGBxColl], (Rect{8, 24, 185, 372 + dy}));
  EXPECT_EQ(r[kLBxColl], (Rect{3, 16, 178, 353 + dy}));
  EXPECT_EQ(r[kGBxIcons], (Rect{199, 24, 362 + dx, 372 + dy}));
  EXPECT_EQ(r[kLVIcons], (Rect{3, 16, 356 + dx, 353 + dy}));
  // The notice covers the lower part of the view and moves with its bottom.
  EXPECT_EQ(r[kPnlNewVersion], (Rect{16, 315 + dy, 329 + dx, 41}));
  EXPECT_EQ(r[kSLabel1], (Rect{1, 1, 327 + dx, 39}));
  EXPECT_EQ(r[kBevel], (Rect{8, 399 + dy, 550 + dx, 7}));
  for (int button : {kBtnApply, kBtnCancel, kBtnClear}) {
    EXPECT_EQ(r[button], kMainLayout[button].design) << "button " << button;
  }
  EXPECT_EQ(r[kStatusBar], (Rect{0, 700 - 19, 1000, 19}));
  EXPECT_EQ(r[kWebLabel1], (Rect{11, 3, 129, 13}));
  EXPECT_EQ(r[kWebLabel2], (Rect{479 + dx, 3, 79, 13}));
}

TEST(Layout, ScalesWithTheSystemTextSize) {
  const Size client = ScaleForDpi(kMainDesignClient, 144);
  EXPECT_EQ(client, (Size{852, 669}));
  const std::vector<Rect> r = MainAt(144, client);
  EXPECT_EQ(r[kBtnApply], (Rect{239, 599, 377, 38}));
  EXPECT_EQ(r[kLBxColl], ScaleForDpi(kMainLayout[kLBxColl].design, 144));
  EXPECT_EQ(r[kLVIcons], ScaleForDpi(kMainLayout[kLVIcons].design, 144));
  // Aligned controls stay flush with their edge whatever the rounding.
  EXPECT_EQ(r[kStatusBar].top + r[kStatusBar].height, client.height);
  EXPECT_EQ(r[kLblFolder].width, client.width);
}

TEST(Layout, AnchoredToNeitherEdgeKeepsItsRelativePlace) {
  const LayoutItem items[] = {{kNoParent, {100, 100, 20, 20}, 0}};
  EXPECT_EQ(ComputeLayout(items, {220, 220}, 96, {320, 420})[0], (Rect{150, 200, 20, 20}));
}

TEST(Layout, ChildBeforeParentIsRejected) {
  const LayoutItem items[] = {{0, {0, 0, 1, 1}, kAnchorLeft | kAnchorTop}};
  EXPECT_THROW(ComputeLayout(items, {10, 10}, 96, {10, 10}), std::logic_error);
  EXPECT_THROW(CreationOrder(items), std::logic_error);
}

TEST(Layout, CreationOrderMakesParentsFirstAndSiblingsLastFirst) {
  // 0 and 2 on the window; 1 and 3 in 0; 4 in 3.
  const LayoutItem items[] = {
      {kNoParent, {}, 0}, {0, {}, 0}, {kNoParent, {}, 0}, {0, {}, 0}, {3, {}, 0}};
  EXPECT_EQ(CreationOrder(items), (std::vector<int>{2, 0, 3, 1, 4}));
  EXPECT_EQ(CreationOrder(std::span<const LayoutItem>{}), std::vector<int>{});
}

}  // namespace
}  // namespace nestova::ui
