// The main window's controls: creation, fonts, glyphs, and their places at
// the window's current size and pixel density.
#include "app/Unit_Main.h"

#include <windowsx.h>

#include <algorithm>

#include "imagelist/icon_resource.h"
#include "resource.h"
#include "ui/containers.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/subclass.h"
#include "ui/window.h"

namespace nestova {
namespace {

enum class FontKind { kNone, kWindow, kBold, kLink };

struct ControlSpec {
  const wchar_t* cls;
  DWORD style;  // besides WS_CHILD | WS_CLIPSIBLINGS
  DWORD exStyle;
  const wchar_t* caption;
  FontKind font;
};

constexpr DWORD kVisible = WS_VISIBLE;

// Indexed by MainControl; the geometry lives in kMainLayout.
const std::array<ControlSpec, kMainControlCount> kSpecs = [] {
  std::array<ControlSpec, kMainControlCount> s{};
  s[kBevel] = {ui::kBevelClass, kVisible, 0, L"", FontKind::kNone};
  s[kLblFolder] = {nullptr, 0, 0, nullptr, FontKind::kWindow};  // our own labels
  s[kGBxColl] = {WC_BUTTONW, kVisible | BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                 L"Коллекция", FontKind::kWindow};
  s[kLBxColl] = {WC_LISTBOXW,
                 kVisible | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                 WS_EX_CLIENTEDGE, L"", FontKind::kWindow};
  s[kGBxIcons] = {WC_BUTTONW, kVisible | BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                  L"Иконки", FontKind::kWindow};
  s[kLVIcons] = {
      WC_LISTVIEWW,
      kVisible | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      WS_EX_CLIENTEDGE, L"", FontKind::kWindow};
  // Hidden until a newer version is announced.
  s[kPnlNewVersion] = {ui::kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, L"", FontKind::kNone};
  s[kSLabel1] = {WC_STATICW, kVisible | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 0,
                 L"Вышла новая версия программы", FontKind::kBold};
  s[kBtnApply] = {WC_BUTTONW, kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, L"Применить",
                  FontKind::kWindow};
  s[kBtnCancel] = {WC_BUTTONW, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0, L"Отмена",
                   FontKind::kWindow};
  s[kBtnClear] = {WC_BUTTONW, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0, L"Стандарт",
                  FontKind::kWindow};
  // We place the status bar ourselves, like every other control.
  s[kStatusBar] = {STATUSCLASSNAMEW,
                   kVisible | WS_CLIPCHILDREN | CCS_NORESIZE | CCS_NOPARENTALIGN | SBARS_SIZEGRIP,
                   0, L"", FontKind::kWindow};
  s[kWebLabel1] = {nullptr, 0, 0, nullptr, FontKind::kLink};
  s[kWebLabel2] = {nullptr, 0, 0, nullptr, FontKind::kLink};
  return s;
}();

// Tab visits these, in this order; the controls inside the group boxes come
// in their box's turn.
constexpr MainControl kTabOrder[] = {kLBxColl, kLVIcons, kBtnApply, kBtnCancel, kBtnClear};

struct Glyph {
  MainControl button;
  int icon;
};
constexpr Glyph kGlyphs[] = {
    {kBtnApply, IDI_GLYPH_APPLY}, {kBtnCancel, IDI_GLYPH_CANCEL}, {kBtnClear, IDI_GLYPH_CLEAR}};

platform::UniqueFont MakeFont(const wchar_t* face, int pixels, int weight, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -ui::ScaleForDpi(pixels, dpi);
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return platform::UniqueFont(::CreateFontIndirectW(&lf));
}

}  // namespace

void TFrm_Main::CreateControls() {
  const std::vector<ui::Rect> places = Layout();
  // A control later in the table lies above the earlier ones where they
  // overlap: the buttons over the group boxes when the window grows taller,
  // the group boxes over the top label, the new-version notice over the icon
  // view. Made in this order, none has to be restacked.
  for (int i : ui::CreationOrder(kMainLayout)) {
    const ControlSpec& spec = kSpecs[i];
    const int parent = kMainLayout[i].parent;
    HWND parentWindow = parent == ui::kNoParent ? hwnd() : controls_[parent];
    controls_[i] = spec.cls
                       ? ui::CreateChild(parentWindow, MainControlId(static_cast<MainControl>(i)),
                                         spec.cls, spec.caption, WS_CLIPSIBLINGS | spec.style,
                                         spec.exStyle, instance_, places[i])
                       : CreateLabel(static_cast<MainControl>(i), parentWindow, places[i]);
  }
  ui::ForwardChildNotifications(Control(kGBxColl), true);
  ui::ForwardChildNotifications(Control(kGBxIcons), true);
  ui::ForwardChildNotifications(Control(kStatusBar));

  std::vector<HWND> tabOrder;
  for (MainControl c : kTabOrder) tabOrder.push_back(Control(c));
  SetTabOrder(std::move(tabOrder));

  ListView_SetTextColor(Control(kLVIcons), RGB(0, 0, 0));
  ui::Subclass(Control(kLVIcons), IconViewProc, reinterpret_cast<DWORD_PTR>(this));
  ::SendMessageW(hwnd(), DM_SETDEFID, MainControlId(kBtnApply), 0);
}

LRESULT TFrm_Main::IconViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR self) {
  const LRESULT result = ui::CallOriginal(hwnd, msg, wParam, lParam);
  return ui::Guarded(
      [&] {
        if (msg == WM_SIZE) reinterpret_cast<TFrm_Main*>(self)->LV_IconsResize();
        return result;
      },
      [&] { return result; });
}

void TFrm_Main::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // The controls take the new fonts before the old ones are deleted.
  platform::UniqueFont windowFont = MakeFont(L"Tahoma", 13, FW_NORMAL, dpi);
  platform::UniqueFont boldFont = MakeFont(L"Tahoma", 13, FW_BOLD, dpi);
  platform::UniqueFont linkFont = MakeFont(L"Segoe UI", 11, FW_NORMAL, dpi);
  for (int i = 0; i < kMainControlCount; ++i) {
    HFONT font = nullptr;
    switch (kSpecs[i].font) {
      case FontKind::kNone:
        continue;
      case FontKind::kWindow:
        font = windowFont.get();
        break;
      case FontKind::kBold:
        font = boldFont.get();
        break;
      case FontKind::kLink:
        font = linkFont.get();
        break;
    }
    // A window not yet shown is painted whole when it is; no redraw now.
    ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font),
                   ::IsWindowVisible(hwnd()));
  }
  windowFont_ = std::move(windowFont);
  boldFont_ = std::move(boldFont);
  linkFont_ = std::move(linkFont);
  ApplyLabelFonts();

  const int size = ui::ScaleForDpi(16, dpi);
  for (size_t i = 0; i < std::size(kGlyphs); ++i) {
    platform::UniqueImageList list =
        imagelist::LoadIconResourceImage(instance_, kGlyphs[i].icon, size);
    ui::Button(Control(kGlyphs[i].button))
        .SetImageList(list.get(), {ui::ScaleForDpi(4, dpi), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT);
    glyphs_[i] = std::move(list);  // the button only borrows it
  }
}

std::vector<ui::Rect> TFrm_Main::Layout() const {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  return ui::ComputeLayout(kMainLayout, kMainDesignClient, dpi_, {client.right, client.bottom});
}

void TFrm_Main::ApplyLayout() {
  // The window's own sizing while it is created comes before its controls.
  if (std::find(controls_.begin(), controls_.end(), nullptr) != controls_.end()) return;
  const std::vector<ui::Rect> rects = Layout();
  for (int i = 0; i < kMainControlCount; ++i) {
    const ui::Rect& r = rects[i];
    // Moving a control costs a round trip to the window system: only those
    // whose place changes are moved.
    RECT now{};
    ::GetWindowRect(controls_[i], &now);
    ::MapWindowPoints(nullptr, ::GetParent(controls_[i]), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == r.left && now.top == r.top && now.right - now.left == r.width &&
        now.bottom - now.top == r.height) {
      continue;
    }
    ::SetWindowPos(controls_[i], nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

ui::Rect TFrm_Main::CentredPlace(HMONITOR monitor, int dpi) {
  const ui::Size client = ui::ScaleForDpi(kMainDesignClient, dpi);
  const SIZE outer =
      ui::WindowSizeForClient({client.width, client.height}, kStyle & ~WS_VISIBLE, kExStyle, dpi);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(monitor, &info);
  const RECT& work = info.rcWork;
  return {work.left + (work.right - work.left - outer.cx) / 2,
          work.top + (work.bottom - work.top - outer.cy) / 2, outer.cx, outer.cy};
}

void TFrm_Main::CentreOnDesktop() {
  const ui::Rect r = CentredPlace(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), dpi_);
  ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace nestova
