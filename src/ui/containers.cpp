#include "ui/containers.h"

#include <commctrl.h>

#include "ui/subclass.h"
#include "ui/window.h"

namespace nestova::ui {
namespace {

bool IsChildNotification(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_DRAWITEM:
      return true;
    default:
      return false;
  }
}

LRESULT ForwardingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       DWORD_PTR fillBackground) {
  const auto fallback = [&] { return CallOriginal(hwnd, msg, wParam, lParam); };
  return Guarded(
      [&]() -> LRESULT {
        if (IsChildNotification(msg)) {
          return ::SendMessageW(::GetParent(hwnd), msg, wParam, lParam);
        }
        if (msg == WM_ERASEBKGND && fillBackground) {
          RECT rc;
          ::GetClientRect(hwnd, &rc);
          ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
          return 1;
        }
        return fallback();
      },
      fallback);
}

void Paint(HWND hwnd, UINT edge, UINT flags) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd, &ps);
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  ::DrawEdge(dc, &rc, edge, flags);
  ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto fallback = [&] { return ::DefWindowProcW(hwnd, msg, wParam, lParam); };
  return Guarded(
      [&]() -> LRESULT {
        if (IsChildNotification(msg)) {
          return ::SendMessageW(::GetParent(hwnd), msg, wParam, lParam);
        }
        if (msg == WM_PAINT) {
          Paint(hwnd, BDR_RAISEDINNER, BF_RECT);
          return 0;
        }
        return fallback();
      },
      fallback);
}

LRESULT CALLBACK BevelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto fallback = [&] { return ::DefWindowProcW(hwnd, msg, wParam, lParam); };
  return Guarded(
      [&]() -> LRESULT {
        if (msg == WM_PAINT) {
          Paint(hwnd, EDGE_ETCHED, BF_BOTTOM);
          return 0;
        }
        return fallback();
      },
      fallback);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = name;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.style = CS_HREDRAW | CS_VREDRAW;  // the border follows the size
  ::RegisterClassExW(&wc);             // a second registration fails harmlessly
}

}  // namespace

void ForwardChildNotifications(HWND container, bool fillBackground) {
  Subclass(container, ForwardingProc, fillBackground);
}

void RegisterOwnControlClasses(HINSTANCE instance) {
  Register(instance, kPanelClass, PanelProc);
  Register(instance, kBevelClass, BevelProc);
}

}  // namespace nestova::ui
