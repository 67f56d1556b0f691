#pragma once
// Tab order kept apart from the stacking order: in our windows a control
// created later lies above the earlier ones, while Tab follows a table.
#include <windows.h>

#include <span>

namespace nestova::ui {

// Tab or Shift+Tab pressed, without Alt or Ctrl, on a control that leaves
// Tab to its dialog.
bool IsTabKey(const MSG& msg);

// The control after `current` in `order` (before it when backwards),
// passing over hidden and disabled ones and wrapping around. Null when no
// control of the order can take the focus.
HWND NextInTabOrder(std::span<const HWND> order, HWND current, bool backwards);

}  // namespace nestova::ui
