#include "ui/tab_order.h"

#include <algorithm>

namespace nestova::ui {

bool IsTabKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  const LRESULT code =
      ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  return (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) == 0;
}

HWND NextInTabOrder(std::span<const HWND> order, HWND current, bool backwards) {
  if (order.empty()) return nullptr;
  const int n = static_cast<int>(order.size());
  // The focus may sit on a child of a listed control (an edit in a combo box).
  int at = -1;
  for (int i = 0; i < n && at < 0; ++i) {
    if (order[i] == current || ::IsChild(order[i], current)) at = i;
  }
  if (at < 0) at = backwards ? 0 : n - 1;
  for (int step = 1; step <= n; ++step) {
    HWND candidate = order[((at + (backwards ? -step : step)) % n + n) % n];
    if (::IsWindowVisible(candidate) && ::IsWindowEnabled(candidate)) return candidate;
  }
  return nullptr;
}

}  // namespace nestova::ui
