// The main window as it appears at 96 dpi: every control where the layout
// puts it, the window's own properties, and how it follows a resize.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "app/main_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using namespace nestova;

struct Expected {
  MainControl control;
  const wchar_t* cls;
  int parent;  // a MainControl, or -1 for the window
  RECT rect;   // left, top, right, bottom in the parent's client area
  const wchar_t* text;
};

RECT Box(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

const Expected kExpected[] = {
    {kBevel, L"TsBevel", -1, Box(8, 399, 550, 7), L""},
    {kLblFolder, L"TsLabelFX", -1, Box(0, 0, 568, 26), nullptr},
    {kGBxColl, L"Button", -1, Box(8, 24, 185, 372), L"Коллекция"},
    {kLBxColl, L"ListBox", kGBxColl, Box(3, 16, 178, 353), L""},
    {kGBxIcons, L"Button", -1, Box(199, 24, 362, 372), L"Иконки"},
    {kLVIcons, L"SysListView32", kGBxIcons, Box(3, 16, 356, 353), L""},
    {kPnlNewVersion, L"TsPanel", kGBxIcons, Box(16, 315, 329, 41), L""},
    {kSLabel1, L"Static", kPnlNewVersion, Box(1, 1, 327, 39), L"Вышла новая версия программы"},
    {kBtnApply, L"Button", -1, Box(159, 399, 251, 25), L"Применить"},
    {kBtnCancel, L"Button", -1, Box(416, 399, 144, 25), L"Отмена"},
    {kBtnClear, L"Button", -1, Box(8, 399, 145, 25), L"Стандарт"},
    {kStatusBar, L"msctls_statusbar32", -1, Box(0, 427, 568, 19), L""},
    {kWebLabel1, L"TsWebLabel", kStatusBar, Box(11, 3, 129, 13), L"FatCow-Farm Fresh Icons"},
    {kWebLabel2, L"TsWebLabel", kStatusBar, Box(479, 3, 79, 13), nullptr},
};

bool Near(const RECT& a, const RECT& b) {
  return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 &&
         std::abs(a.right - b.right) <= 1 && std::abs(a.bottom - b.bottom) <= 1;
}

std::string Show(const RECT& r) {
  std::ostringstream out;
  out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
  return out.str();
}

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    app_.emplace(Quoted(NestovaExe()) + L" " + Quoted(temp_.Make(L"Work")));
    main_ = app_->WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    if (main_) {
      app_->PressKey(VK_ESCAPE);
      EXPECT_EQ(app_->WaitForExit(), 0u);
    }
  }
  HWND Control(MainControl c) const { return FindControl(main_, MainControlId(c)); }

  TempDir temp_;
  std::optional<App> app_;
  HWND main_ = nullptr;
};

TEST_F(MainWindow, EveryControlWhereTheLayoutPutsIt) {
  RECT client;
  ::GetClientRect(main_, &client);
  EXPECT_EQ(client.right, 568);
  EXPECT_EQ(client.bottom, 446);
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(testing::Message() << "control " << e.control);
    HWND hwnd = Control(e.control);
    ASSERT_NE(hwnd, nullptr);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    EXPECT_STREQ(cls, e.cls);
    EXPECT_EQ(::GetParent(hwnd),
              e.parent < 0 ? main_ : Control(static_cast<MainControl>(e.parent)));
    const RECT r = RectInParent(hwnd);
    EXPECT_TRUE(Near(r, e.rect)) << Show(r) << " expected " << Show(e.rect);
    if (e.text) {
      EXPECT_EQ(WindowText(hwnd), e.text);
    }
  }
  EXPECT_FALSE(::IsWindowVisible(Control(kPnlNewVersion)));
}

TEST_F(MainWindow, WindowPropertiesAndStartingFocus) {
  const LONG style = ::GetWindowLongW(main_, GWL_STYLE);
  const LONG exStyle = ::GetWindowLongW(main_, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);

  RECT window, work;
  ::GetWindowRect(main_, &window);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 2);

  EXPECT_EQ(app_->Focus(), Control(kLBxColl));
  EXPECT_TRUE(::GetWindowLongW(Control(kBtnApply), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(::SendMessageW(Control(kLBxColl), LB_GETITEMHEIGHT, 0, 0), 16);  // Tahoma 13 px

  const std::wstring shot = BinDir() + L"main-window.bmp";
  EXPECT_TRUE(SaveScreenshot(main_, shot));
}

TEST_F(MainWindow, TabAndShiftTabWalkTheControlsInOrder) {
  const MainControl order[] = {kLVIcons, kBtnApply, kBtnCancel, kBtnClear, kLBxColl};
  ASSERT_EQ(app_->Focus(), Control(kLBxColl));
  for (MainControl next : order) {
    app_->PressKey(VK_TAB);
    EXPECT_TRUE(PollUntil([&] { return app_->Focus() == Control(next); }))
        << "Tab did not reach control " << next;
  }
  const MainControl backwards[] = {kBtnClear, kBtnCancel, kBtnApply, kLVIcons, kLBxColl};
  for (MainControl next : backwards) {
    app_->PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(PollUntil([&] { return app_->Focus() == Control(next); }))
        << "Shift+Tab did not reach control " << next;
  }
}

// Children of a window from the top of the stack down.
std::vector<HWND> StackedChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    children.push_back(c);
  }
  return children;
}

TEST_F(MainWindow, LaterControlsLieAboveEarlierOnes) {
  const std::vector<HWND> top = {Control(kStatusBar), Control(kBtnClear), Control(kBtnCancel),
                                 Control(kBtnApply),  Control(kGBxIcons), Control(kGBxColl),
                                 Control(kLblFolder), Control(kBevel)};
  EXPECT_EQ(StackedChildren(main_), top);
  const std::vector<HWND> icons = {Control(kPnlNewVersion), Control(kLVIcons)};
  EXPECT_EQ(StackedChildren(Control(kGBxIcons)), icons);
}

TEST_F(MainWindow, MaximisingGrowsTheViewsAndLeavesTheButtons) {
  RECT apply = RectInParent(Control(kBtnApply));
  ::PostMessageW(main_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  RECT client{};
  int dx = 0, dy = 0;
  // The window grows first; its controls follow one by one when it handles
  // the new size, the right-hand link last.
  const bool settled = PollUntil([&] {
    ::GetClientRect(main_, &client);
    dx = client.right - 568;
    dy = client.bottom - 446;
    return dx > 0 && Near(RectInParent(Control(kWebLabel2)), Box(479 + dx, 3, 79, 13));
  });
  ASSERT_TRUE(settled) << "link " << Show(RectInParent(Control(kWebLabel2))) << " in client "
                       << Show(client);
  EXPECT_TRUE(Near(RectInParent(Control(kLVIcons)), Box(3, 16, 356 + dx, 353 + dy)));
  EXPECT_TRUE(Near(RectInParent(Control(kGBxIcons)), Box(199, 24, 362 + dx, 372 + dy)));
  EXPECT_TRUE(
      Near(RectInParent(Control(kStatusBar)), Box(0, client.bottom - 19, client.right, 19)));
  EXPECT_TRUE(Near(RectInParent(Control(kBtnApply)), apply));
  // The group boxes now reach below the buttons, which stay in sight above
  // them: the middle of each button is the button.
  for (MainControl button : {kBtnApply, kBtnCancel, kBtnClear}) {
    RECT rc;
    ::GetWindowRect(Control(button), &rc);
    const POINT middle{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    EXPECT_EQ(::WindowFromPoint(middle), Control(button)) << "button " << button << " is covered";
  }
  EXPECT_TRUE(SaveScreenshot(main_, BinDir() + L"main-window-maximised.bmp"));
}

// Run in a Wine prefix whose screen is set to 144 dpi (see CMakeLists.txt).
TEST(HighDpi, LayoutAndFontsScaleWithTheTextSize) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 144) << "this test needs a 144-dpi screen";

  TempDir temp;
  App app(Quoted(NestovaExe()) + L" " + Quoted(temp.Make(L"Work")));
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  auto control = [&](MainControl c) { return FindControl(main, MainControlId(c)); };

  RECT client;
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 852);
  EXPECT_EQ(client.bottom, 669);
  EXPECT_TRUE(Near(RectInParent(control(kBtnApply)), Box(239, 599, 377, 38)));
  EXPECT_TRUE(Near(RectInParent(control(kLBxColl)), Box(5, 24, 267, 530)));
  const RECT status = RectInParent(control(kStatusBar));
  EXPECT_EQ(status.bottom, 669);
  EXPECT_EQ(status.right, 852);

  // The list box sizes its lines to its font: Tahoma 13 px is 16 high at
  // 96 dpi, 20 px (13 scaled) about 24 here.
  EXPECT_NEAR(::SendMessageW(control(kLBxColl), LB_GETITEMHEIGHT, 0, 0), 24, 1);

  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
