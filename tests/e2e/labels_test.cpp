// The main window's labels as a person meets them: the target folder across
// the top in white with a soft shadow, and the two links in the status bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/main_layout.h"
#include "canvas.h"
#include "driver.h"
#include "link_recorder.h"

namespace e2e {
namespace {

using namespace nestova;
using testing_win::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// What the screen shows of a control.
void CaptureScreen(HWND control, Canvas& canvas) {
  RECT rc;
  ::GetWindowRect(control, &rc);
  const platform::ScreenDC screen;
  ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen.get(), rc.left, rc.top,
           SRCCOPY);
}

class FolderLabel : public ::testing::Test {
 protected:
  TempDir temp_;
};

TEST_F(FolderLabel, ShowsThePathInWhiteCentredWithItsShadow) {
  const std::wstring folder = temp_.Make(L"Icons & More");
  App app(Quoted(NestovaExe()) + L" " + Quoted(folder));
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND label = FindControl(main, MainControlId(kLblFolder));
  ASSERT_NE(label, nullptr);
  const std::wstring path = WindowText(label);
  EXPECT_EQ(path, folder + L"\\");

  Canvas shown(568, 26, RGB(0, 0, 0));
  ASSERT_TRUE(PollUntil([&] {
    CaptureScreen(label, shown);
    return testing_win::Count(shown.Where(kWhite)) > 50;
  })) << "no white text on the label";
  EXPECT_TRUE(SaveScreenshot(label, BinDir() + L"folder-label.bmp"));

  // The path as the system draws it in the window's font at the place that
  // centring gives, "&" as a character: its white ink is where the label's is.
  const platform::UniqueFont tahoma(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                  DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0,
                                                  L"Tahoma"));
  SIZE extent{};
  {
    const platform::ScreenDC screen;
    const platform::ScopedSelect select(screen.get(), tahoma.get());
    ::GetTextExtentPoint32W(screen.get(), path.c_str(), static_cast<int>(path.size()), &extent);
  }
  const int textLeft = (568 - extent.cx - 2) / 2 + 1;
  const int textTop = (26 - extent.cy - 2) / 2 + 1;
  auto inkSpan = [](const Canvas& canvas) {
    int left = canvas.width(), right = -1;
    for (int y = 0; y < canvas.height(); ++y) {
      for (int x = 0; x < canvas.width(); ++x) {
        if (canvas.At(x, y) != kWhite) continue;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    return std::pair{left, right};
  };
  auto reference = [&](UINT flags) {
    Canvas canvas(568, 26, RGB(0, 0, 0));
    const platform::ScopedSelect select(canvas.dc(), tahoma.get());
    ::SetBkMode(canvas.dc(), TRANSPARENT);
    ::SetTextColor(canvas.dc(), kWhite);
    RECT r{textLeft, textTop, textLeft + extent.cx, textTop + extent.cy};
    ::DrawTextW(canvas.dc(), path.c_str(), static_cast<int>(path.size()), &r,
                DT_CENTER | DT_SINGLELINE | DT_NOCLIP | flags);
    return inkSpan(canvas);
  };
  const auto asCharacter = reference(DT_NOPREFIX);
  ASSERT_NE(asCharacter, reference(0));  // else the check proves nothing
  EXPECT_EQ(inkSpan(shown), asCharacter);

  // A dark glow, strongest one pixel right of and below the letters.
  long long belowRight = 0, aboveLeft = 0;
  int pairs = 0;
  for (int y = 1; y + 1 < 26; ++y) {
    for (int x = 1; x + 1 < 568; ++x) {
      if (shown.At(x, y) != kWhite || shown.At(x + 1, y + 1) == kWhite ||
          shown.At(x - 1, y - 1) == kWhite) {
        continue;
      }
      belowRight += Brightness(shown.At(x + 1, y + 1));
      aboveLeft += Brightness(shown.At(x - 1, y - 1));
      ++pairs;
    }
  }
  ASSERT_GT(pairs, 10);
  EXPECT_LT(belowRight, aboveLeft);
  EXPECT_LT(belowRight / pairs, 3 * 128) << "the shadow is not dark";

  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// Run in a Wine prefix of its own (see CMakeLists.txt), where web addresses
// open link_recorder.exe instead of a browser.
class Links : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LinkRecorder::CanRun()) {
      GTEST_SKIP() << "changes which program opens web addresses; runs under Wine only";
    }
    ASSERT_TRUE(recorder_.Register(temp_.path()));
  }
  std::vector<std::string> Opened() const { return recorder_.Opened(); }

  TempDir temp_;
  LinkRecorder recorder_;
};

TEST_F(Links, LeftPressOpensTheAddressRightPressDoesNothing) {
  App app(Quoted(NestovaExe()) + L" " + Quoted(temp_.Make(L"Work")));
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND iconSet = FindControl(main, MainControlId(kWebLabel1));
  HWND ownSite = FindControl(main, MainControlId(kWebLabel2));
  ASSERT_NE(iconSet, nullptr);
  ASSERT_NE(ownSite, nullptr);

  app.Click(iconSet, true);
  app.Click(ownSite, true);
  app.Click(iconSet);
  ASSERT_TRUE(PollUntil([&] { return Opened().size() >= 1; })) << "the shell opened nothing";
  app.Click(ownSite);
  ASSERT_TRUE(PollUntil([&] { return Opened().size() >= 2; }));
  // Each left press opened its address once, with the default show command;
  // the right presses opened nothing and the window stays.
  const std::vector<std::string> expected = {"https://www.fatcow.com/free-icons\t10",
                                             "https://nestova.ru/\t10"};
  EXPECT_EQ(Opened(), expected);
  EXPECT_TRUE(::IsWindowVisible(main));

  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
