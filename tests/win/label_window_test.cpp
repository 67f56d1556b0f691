// The effect label and the link label as windows: what they paint over
// their parent, how they follow their properties, and what a press does.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "canvas.h"
#include "folder_label.h"
#include "components/TsLabelFX.h"
#include "components/TsWebLabel.h"
#include "fake_platform.h"
#include "platform/handles.h"

namespace nestova::components {
namespace {

using testing_win::Canvas;
using testing_win::Count;
using testing_win::FolderLabelState;
using testing_win::SamePixels;

constexpr COLORREF kParentColor = RGB(30, 120, 220);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr wchar_t kParentClass[] = L"LabelTestParent";

LabelBounds BoundsInParent(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// What the label shows: its parent's background and its text.
std::unique_ptr<Canvas> Printed(HWND label, int width, int height) {
  auto canvas = std::make_unique<Canvas>(width, height, RGB(0, 0, 0));
  ::SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
  return canvas;
}

class LabelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    brush_.reset(::CreateSolidBrush(kParentColor));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kParentClass;
    wc.hbrBackground = brush_.get();
    ::UnregisterClassW(kParentClass, wc.hInstance);  // the previous test's brush is gone
    ASSERT_TRUE(::RegisterClassExW(&wc));
    parent_ = ::CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 640, 200,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
    font_.reset(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                              DEFAULT_PITCH, L"Tahoma"));
    ASSERT_TRUE(font_);
  }
  void TearDown() override {
    if (parent_) ::DestroyWindow(parent_);
  }

  // Set up as the main window's Lbl_Folder.
  void MakeFolderLabel(TsLabelFX& label, const std::wstring& caption, int width = 400,
                       int height = 26) {
    label.Create(parent_, 1, ::GetModuleHandleW(nullptr), L"Folder");
    label.SetAlignment(TextAlignment::kCenter);
    label.SetLayout(TextLayout::kCenter);
    label.SetShowAccelChar(false);
    label.OffsetKeeper().SetLeftTop(-3);
    label.OffsetKeeper().SetRightBottom(5);
    ::SetWindowPos(label.hwnd(), nullptr, 20, 10, width, height, SWP_NOZORDER);
    ::SendMessageW(label.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    label.SetCaption(caption);
  }

  // What the painter alone draws over the parent's colour.
  static std::unique_ptr<Canvas> Reference(const LabelFxState& state, int width, int height) {
    auto canvas = std::make_unique<Canvas>(width, height, kParentColor);
    LabelFxPainter painter;
    painter.Paint(canvas->dc(), {0, 0, width, height}, state);
    return canvas;
  }

  // White pixels of the text drawn by the system at the folder label's place.
  std::vector<int> SystemText(const std::wstring& text, UINT extraFlags) const {
    platform::ScreenDC screen;
    SIZE size{};
    {
      platform::ScopedSelect select(screen.get(), font_.get());
      ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    const int left = (400 - size.cx - 2) / 2 + 1;
    const int top = (26 - size.cy - 2) / 2 + 1;
    RECT r{left, top, left + size.cx, top + size.cy};
    Canvas canvas(400, 26, kParentColor);
    platform::ScopedSelect select(canvas.dc(), font_.get());
    ::SetBkMode(canvas.dc(), TRANSPARENT);
    ::SetTextColor(canvas.dc(), kWhite);
    ::DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CENTER | DT_SINGLELINE | DT_NOCLIP | DT_EXPANDTABS | extraFlags);
    return canvas.Where(kWhite);
  }

  platform::UniqueGdi<HBRUSH> brush_;
  platform::UniqueFont font_;
  HWND parent_ = nullptr;
};

TEST_F(LabelWindow, FolderLabelPaintsItsShadowedTextOverTheParent) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  // The keeper matches the shadow, so setting the caption leaves the bounds.
  EXPECT_EQ(BoundsInParent(label.hwnd()), (LabelBounds{20, 10, 400, 26}));
  EXPECT_EQ(label.CurrentFontColor(), kClWhite);
  EXPECT_EQ(label.CurrentShadowData(), (TShadowData{kClBlack, 4, 1, 255}));

  const auto printed = Printed(label.hwnd(), 400, 26);
  EXPECT_TRUE(
      SamePixels(*printed, *Reference(FolderLabelState(L"C:\\Work\\", font_.get()), 400, 26)));
  EXPECT_GT(Count(printed->Where(kWhite)), 20);
  EXPECT_FALSE(label.NeedInvalidate());
  EXPECT_EQ(label.OffsTopLeft(), -3);
}

TEST_F(LabelWindow, PathLabelDrawsAmpersandsAsTheyStand) {
  for (const std::wstring caption : {L"D:\\A&B\\", L"D:\\A&&B\\"}) {
    SCOPED_TRACE(std::string(caption.begin(), caption.end()));
    TsLabelFX path;
    MakeFolderLabel(path, caption);
    const std::vector<int> asCharacters = SystemText(caption, DT_NOPREFIX);
    ASSERT_NE(asCharacters, SystemText(caption, 0));  // else the test proves nothing
    EXPECT_EQ(Printed(path.hwnd(), 400, 26)->Where(kWhite), asCharacters);

    // Another label keeps the accelerator: "&" underlines the next letter,
    // "&&" is one "&".
    TsLabelFX other;
    MakeFolderLabel(other, caption);
    other.SetShowAccelChar(true);
    EXPECT_EQ(Printed(other.hwnd(), 400, 26)->Where(kWhite), SystemText(caption, 0));
  }
}

TEST_F(LabelWindow, EmptyCaptionShowsOnlyTheParent) {
  TsLabelFX label;
  MakeFolderLabel(label, L"");
  EXPECT_TRUE(SamePixels(*Printed(label.hwnd(), 400, 26), Canvas(400, 26, kParentColor)));
}

TEST_F(LabelWindow, DisabledLabelIsEmbossedGreyWithoutShadow) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  ::EnableWindow(label.hwnd(), FALSE);
  const auto printed = Printed(label.hwnd(), 400, 26);
  LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
  state.enabled = false;
  EXPECT_TRUE(SamePixels(*printed, *Reference(state, 400, 26)));
  // Nothing but the parent and the two grey tones: no shadow, no white.
  const int parent = Count(printed->Where(kParentColor));
  const int light = Count(printed->Where(::GetSysColor(COLOR_BTNHIGHLIGHT)));
  const int dark = Count(printed->Where(::GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_GT(light, 0);
  EXPECT_GT(dark, 0);
  EXPECT_EQ(parent + light + dark, 400 * 26);
}

TEST_F(LabelWindow, LabelWithoutAreaDrawsNothing) {
  for (const SIZE size : {SIZE{0, 26}, SIZE{400, 0}, SIZE{0, 0}}) {
    TsLabelFX label;
    MakeFolderLabel(label, L"C:\\Work\\", size.cx, size.cy);
    Canvas canvas(8, 8, RGB(1, 2, 3));
    ::SendMessageW(label.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_TRUE(SamePixels(canvas, Canvas(8, 8, RGB(1, 2, 3)))) << size.cx << "x" << size.cy;
  }
}

TEST_F(LabelWindow, ShadowValuesAreHeldInRange) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  label.SetShadowMode(TsShadowMode::smCustom);
  struct Case {
    int blur;
    int distance;
    int expectedBlur;
    int expectedDistance;
  };
  // Distances at the extremes without blur keep the label small; the
  // largest blur is tried at the usual distance.
  const Case cases[] = {{0, INT_MAX, 0, 1000}, {0, INT_MIN, 0, -1000}, {-5, 1, 0, 1},
                        {INT_MIN, 1, 0, 1},    {INT_MAX, 1, 255, 1},   {4, 1, 4, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.blur << ", " << c.distance);
    label.SetShadowBlurCount(c.blur);
    label.SetShadowDistance(c.distance);
    EXPECT_EQ(label.Shadow().BlurCount(), c.expectedBlur);
    EXPECT_EQ(label.Shadow().Distance(), c.expectedDistance);
    // The label grew or shrank around its text by the shadow's extents.
    const ShadowExtents extents = ExtentsOf(label.CurrentShadowData());
    EXPECT_EQ(label.OffsetKeeper().Extents(), extents);
    const LabelBounds b = BoundsInParent(label.hwnd());
    EXPECT_EQ(b.width, 400 - 8 + extents.rightBottom - extents.leftTop);
    const int width = std::min(b.width, 300);
    const int height = std::min(b.height, 26);
    const auto printed = Printed(label.hwnd(), width, height);
    if (c.expectedBlur == 0) {
      // The plain text, no shadow: only the parent's colour and white.
      EXPECT_EQ(Count(printed->Where(kParentColor)) + Count(printed->Where(kWhite)),
                width * height);
    }
  }
}

TEST_F(LabelWindow, ShrinkingShadowNeverGivesANegativeSize) {
  TsLabelFX label;
  MakeFolderLabel(label, L"x", 4, 4);
  label.SetShadowMode(TsShadowMode::smCustom);
  label.SetShadowDistance(0);
  label.SetShadowBlurCount(0);
  EXPECT_EQ(BoundsInParent(label.hwnd()).width, 0);
  EXPECT_EQ(BoundsInParent(label.hwnd()).height, 0);
  Canvas canvas(8, 8, RGB(1, 2, 3));
  ::SendMessageW(label.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_TRUE(SamePixels(canvas, Canvas(8, 8, RGB(1, 2, 3))));
}

TEST_F(LabelWindow, SmallerBlurMovesTheLabelSoTheTextStays) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  ::SetWindowPos(label.hwnd(), nullptr, 100, 50, 200, 40, SWP_NOZORDER);
  label.SetShadowBlurCount(2);
  EXPECT_EQ(BoundsInParent(label.hwnd()), (LabelBounds{102, 52, 196, 36}));
  EXPECT_EQ(label.OffsetKeeper().LeftTop(), -1);
  EXPECT_EQ(label.OffsetKeeper().RightBottom(), 3);

  // Moved by someone else: the bounds now belong to the current shadow.
  label.OffsetKeeper().SetLeftTop(-7);
  label.OffsetKeeper().SetRightBottom(9);
  ::SetWindowPos(label.hwnd(), nullptr, 10, 10, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  EXPECT_EQ(label.OffsetKeeper().Extents(), (ShadowExtents{-1, 3}));
  EXPECT_EQ(BoundsInParent(label.hwnd()), (LabelBounds{10, 10, 196, 36}));
}

TEST_F(LabelWindow, ResizedLabelIsPaintedWhole) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  ::ShowWindow(parent_, SW_SHOWNA);
  ::UpdateWindow(parent_);
  RECT dirty{};
  ASSERT_FALSE(::GetUpdateRect(label.hwnd(), &dirty, FALSE));
  // Wider: the centred text moves, so the old part is stale too.
  ::SetWindowPos(label.hwnd(), nullptr, 0, 0, 500, 26, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(::GetUpdateRect(label.hwnd(), &dirty, FALSE));
  EXPECT_EQ(dirty.left, 0);
  EXPECT_EQ(dirty.top, 0);
  EXPECT_EQ(dirty.right, 500);
  EXPECT_EQ(dirty.bottom, 26);
}

TEST_F(LabelWindow, AngleAndWordWrapTheLastSetWins) {
  TsLabelFX label;
  MakeFolderLabel(label, L"C:\\Work\\");
  label.SetWordWrap(true);
  label.SetAngle(30);
  EXPECT_EQ(label.Angle(), 30);
  EXPECT_FALSE(label.WordWrap());
  label.SetWordWrap(true);
  EXPECT_EQ(label.Angle(), 0);
  EXPECT_TRUE(label.WordWrap());
}

class WebLabel : public LabelWindow {
 protected:
  void MakeLink(TsWebLabel& label, const std::wstring& url) {
    label.Create(parent_, 2, ::GetModuleHandleW(nullptr), L"FatCow-Farm Fresh Icons");
    ::SetWindowPos(label.hwnd(), nullptr, 11, 3, 129, 13, SWP_NOZORDER);
    label.SetFont(font_.get());
    label.SetURL(url);
  }
  nestova::testing::FakePlatform platform_;
};

TEST_F(WebLabel, LeftPressOpensTheAddressAtOnce) {
  TsWebLabel label(platform_);
  MakeLink(label, L"https://example.org/icons?a=1&b=2");
  ::SendMessageW(label.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(label.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(platform_.calls.empty());
  ::SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  const std::vector<std::string> opened = {"Open https://example.org/icons?a=1&b=2 10"};
  EXPECT_EQ(platform_.calls, opened);
  ASSERT_EQ(platform_.shellOwners.size(), 1u);
  EXPECT_EQ(platform_.shellOwners[0], parent_);
  // Not again on release.
  ::SendMessageW(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(platform_.calls, opened);

  label.SetShowMode(soMaximize);
  ::SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(platform_.calls.back(), "Open https://example.org/icons?a=1&b=2 3");
}

TEST_F(WebLabel, WithoutAddressAPressDoesNothing) {
  TsWebLabel label(platform_);
  MakeLink(label, L"");
  ::SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(platform_.calls.empty());
}

TEST_F(WebLabel, KeepsCopiesOfItsFonts) {
  TsWebLabel label(platform_);
  MakeLink(label, L"https://example.org/");
  EXPECT_NE(label.NormalFont(), nullptr);
  EXPECT_NE(label.NormalFont(), font_.get());
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(label.hwnd(), WM_GETFONT, 0, 0)),
            label.NormalFont());
  label.SetHoverFont(font_.get());
  EXPECT_NE(label.HoverFont(), nullptr);
  EXPECT_NE(label.HoverFont(), font_.get());
  LOGFONTW given{}, normal{}, hover{};
  ::GetObjectW(font_.get(), sizeof given, &given);
  ::GetObjectW(label.NormalFont(), sizeof normal, &normal);
  ::GetObjectW(label.HoverFont(), sizeof hover, &hover);
  EXPECT_EQ(normal.lfHeight, given.lfHeight);
  EXPECT_STREQ(normal.lfFaceName, given.lfFaceName);
  EXPECT_STREQ(hover.lfFaceName, given.lfFaceName);

  // The label's look no longer depends on the font it was given.
  const auto before = Printed(label.hwnd(), 129, 13);
  font_.reset();
  EXPECT_TRUE(SamePixels(*Printed(label.hwnd(), 129, 13), *before));
}

TEST_F(WebLabel, DrawsPlainTextAndHoveringChangesNothing) {
  TsWebLabel label(platform_);
  MakeLink(label, L"https://example.org/");
  const auto before = Printed(label.hwnd(), 129, 13);
  LabelFxState plain;
  plain.caption = L"FatCow-Farm Fresh Icons";
  plain.font = font_.get();
  plain.fontColor = ::GetSysColor(COLOR_WINDOWTEXT);
  plain.plain = true;
  EXPECT_TRUE(SamePixels(*before, *Reference(plain, 129, 13)));
  EXPECT_GT(Count(before->Where(::GetSysColor(COLOR_WINDOWTEXT))), 10);

  ::SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(label.MouseAbove());
  EXPECT_TRUE(SamePixels(*Printed(label.hwnd(), 129, 13), *before));
  ::SendMessageW(label.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(label.MouseAbove());

  ::EnableWindow(label.hwnd(), FALSE);
  ::SendMessageW(label.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(label.MouseAbove());
}

TEST_F(WebLabel, ShowsTheHandCursor) {
  TsWebLabel label(platform_);
  MakeLink(label, L"https://example.org/");
  EXPECT_EQ(::SendMessageW(label.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.hwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
}  // namespace nestova::components
