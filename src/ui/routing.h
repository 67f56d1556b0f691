#pragma once
// Control notifications reach their handlers through a table: which control,
// which notification, which member of the window. WM_COMMAND and WM_NOTIFY
// are looked up the same way.
#include <windows.h>

#include <span>

namespace nestova::ui {

template <typename Owner>
struct ControlEvent {
  int control;  // the control's identifier
  UINT code;    // BN_CLICKED, LBN_SELCHANGE, NM_DBLCLK, ...
  void (Owner::*handler)();
};

// Runs the handler the table names for this message; false when the
// message is no control notification or the table names none.
template <typename Owner>
bool RouteControlEvent(Owner& owner, std::span<const ControlEvent<Owner>> table, UINT msg,
                       WPARAM wParam, LPARAM lParam) {
  int control = 0;
  UINT code = 0;
  if (msg == WM_COMMAND && lParam != 0) {  // not from a menu or an accelerator
    control = LOWORD(wParam);
    code = HIWORD(wParam);
  } else if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    // Esc: the dialog manager sends IDCANCEL without a control.
    control = IDCANCEL;
    code = BN_CLICKED;
  } else if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    control = static_cast<int>(header->idFrom);
    code = header->code;
  } else {
    return false;
  }
  for (const ControlEvent<Owner>& event : table) {
    if (event.control == control && event.code == code) {
      (owner.*event.handler)();
      return true;
    }
  }
  return false;
}

}  // namespace nestova::ui
