// The control views against the real common controls.
#include <gtest/gtest.h>

#include <string>

#include "platform/handles.h"
#include "ui/controls.h"

namespace nestova::ui {
namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    top_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(top_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(top_); }
  HWND Child(const wchar_t* cls, DWORD style) {
    return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 200, top_,
                             nullptr, nullptr, nullptr);
  }
  HWND top_ = nullptr;
};

TEST_F(Controls, ListBoxKeepsItemsInOrderAndReadsThemBack) {
  ListBox box(Child(L"LISTBOX", LBS_NOTIFY));
  EXPECT_EQ(box.Selected(), -1);
  EXPECT_EQ(box.Add(L"Папки"), 0);
  EXPECT_EQ(box.Add(L"A"), 1);
  const std::wstring longName(1000, L'я');
  EXPECT_EQ(box.Add(longName), 2);
  EXPECT_EQ(box.Count(), 3);
  EXPECT_EQ(box.Item(0), L"Папки");
  EXPECT_EQ(box.Item(2), longName);
  EXPECT_EQ(box.Item(7), L"");  // no such item
  box.Select(1);
  EXPECT_EQ(box.Selected(), 1);
  box.Clear();
  EXPECT_EQ(box.Count(), 0);
  EXPECT_EQ(box.Selected(), -1);
}

TEST_F(Controls, ListViewItemsKeepTheirImagesAndSelection) {
  ListView view(Child(WC_LISTVIEWW, LVS_ICON | LVS_SINGLESEL | LVS_SHAREIMAGELISTS));
  platform::UniqueImageList images(::ImageList_Create(32, 32, ILC_COLOR32, 4, 0));
  view.SetImageList(images.get());
  EXPECT_EQ(view.Add(L"first.ico", 0), 0);
  EXPECT_EQ(view.Add(L"second.ico", 3), 1);
  const std::wstring longName(600, L'ж');  // longer than the first read
  EXPECT_EQ(view.Add(longName, 1), 2);
  EXPECT_EQ(view.Count(), 3);
  EXPECT_EQ(view.Item(1), L"second.ico");
  EXPECT_EQ(view.Item(2), longName);
  EXPECT_EQ(view.ImageOf(1), 3);
  EXPECT_EQ(view.ImageOf(9), -1);
  EXPECT_EQ(view.Selected(), -1);
  view.Select(2);
  EXPECT_EQ(view.Selected(), 2);
  view.Select(-1);
  EXPECT_EQ(view.Selected(), -1);
  view.Clear();
  EXPECT_EQ(view.Count(), 0);
}

TEST_F(Controls, ButtonEnablesAndCarriesItsText) {
  Button button(Child(L"BUTTON", BS_PUSHBUTTON));
  button.SetText(L"Применить");
  EXPECT_EQ(button.Text(), L"Применить");
  button.Enable(false);
  EXPECT_FALSE(button.Enabled());
  button.Enable(true);
  EXPECT_TRUE(button.Enabled());
}

}  // namespace
}  // namespace nestova::ui
