// Tab order from a table, independent of how the controls are stacked.
#include <gtest/gtest.h>

#include <vector>

#include "ui/tab_order.h"

namespace nestova::ui {
namespace {

TEST(TabOrder, WalksTheTableSkippingHiddenAndDisabledControls) {
  HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  std::vector<HWND> order;
  for (int i = 0; i < 4; ++i) {
    order.push_back(::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top,
                                      nullptr, nullptr, nullptr));
  }
  ::EnableWindow(order[1], FALSE);
  ::ShowWindow(order[2], SW_HIDE);
  ::ShowWindow(top, SW_SHOWNOACTIVATE);
  EXPECT_EQ(NextInTabOrder(order, order[0], false), order[3]);
  EXPECT_EQ(NextInTabOrder(order, order[3], false), order[0]);  // wraps around
  EXPECT_EQ(NextInTabOrder(order, order[0], true), order[3]);
  EXPECT_EQ(NextInTabOrder(order, order[3], true), order[0]);
  EXPECT_EQ(NextInTabOrder(order, nullptr, false), order[0]);  // focus elsewhere
  ::EnableWindow(order[0], FALSE);
  ::EnableWindow(order[3], FALSE);
  EXPECT_EQ(NextInTabOrder(order, order[0], false), nullptr);
  ::DestroyWindow(top);
}

}  // namespace
}  // namespace nestova::ui
