#include "ui/dpi.h"

#include "platform/handles.h"

namespace nestova::ui {
namespace {

// Looked up at run time: the program also runs on systems without them.
template <typename Fn>
Fn User32Function(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int DpiForWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
  if (getDpiForSystem) {
    if (const UINT dpi = getDpiForSystem()) return static_cast<int>(dpi);
  }
  const int dpi = ::GetDeviceCaps(platform::ScreenDC().get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT rc{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  }
  return {rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace nestova::ui
