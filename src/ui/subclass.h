#pragma once
// Subclassing a system control: our procedure sees its messages first and
// hands them on to the control's own. The common controls' SetWindowSubclass
// looks its chain up in a window property on every message, which under Wine
// is a round trip to the server: one per message to a list view filling with
// icons. Here the thread keeps the chain itself.
#include <windows.h>

namespace nestova::ui {

using SubclassProc = LRESULT (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR data);

// From now on `proc` gets the window's messages with `data`; it calls
// CallOriginal for the control's own handling. The subclass ends by itself
// after WM_NCDESTROY. Called on the window's own thread, once per window:
// throws std::logic_error for a window subclassed already.
void Subclass(HWND hwnd, SubclassProc proc, DWORD_PTR data);

// The control's own handling of a message, inside a subclass procedure.
LRESULT CallOriginal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Gives the window back its own procedure, while it lives.
void RemoveSubclass(HWND hwnd);

}  // namespace nestova::ui
