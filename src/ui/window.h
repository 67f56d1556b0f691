#pragma once
// Base of our windows: one window procedure that stores the C++ object on
// WM_NCCREATE and routes every message to HandleMessage. Every window and
// subclass procedure of the program runs its handlers through Guarded, so
// nothing a handler throws escapes into the system.
#include <windows.h>

#include <exception>
#include <span>
#include <vector>

#include "ui/layout.h"

namespace nestova::ui {

// Says what a handler threw, in a debug build (OutputDebugString); the
// program's handlers swallow their errors by design, here and nowhere else.
void ReportSwallowed(const char* what) noexcept;

// Runs a message handler. When it throws, the error is reported and dropped
// and the message gets its default handling from `fallback` instead.
template <typename Handler, typename Fallback>
LRESULT Guarded(Handler&& handler, Fallback&& fallback) noexcept {
  try {
    return handler();
  } catch (const std::exception& e) {
    ReportSwallowed(e.what());
  } catch (...) {
    ReportSwallowed("unknown exception");
  }
  try {
    return fallback();
  } catch (...) {
    ReportSwallowed("default handling failed");
    return 0;
  }
}

// Where the system puts a new top-level window, at the size it chooses.
inline constexpr Rect kSystemPlace{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};

struct WindowClass {
  const wchar_t* name;
  HICON icon = nullptr;       // not owned; resources loaded for the class live as long
  HICON smallIcon = nullptr;  // as the process
  // Dialog keyboard handling (Tab, Enter, Esc, default button) through the
  // system's dialog manager.
  bool dialogKeys = false;
  const wchar_t* cursor = IDC_ARROW;  // a system cursor
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Keyboard handling of a dialog-like window for one message of the loop:
  // Tab and Shift+Tab walk the window's own tab order, the dialog manager
  // does the rest (Enter, Esc, default button). True when it was handled.
  bool TranslateDialogKeys(MSG& msg);

 protected:
  Window() = default;
  virtual ~Window();

  // Registers the class on first use and creates the window, hidden, at
  // `place` on the screen.
  void CreateTopLevel(HINSTANCE instance, const WindowClass& cls, DWORD exStyle, DWORD style,
                      const wchar_t* caption, const Rect& place);

  // Registers the class on first use and creates the window as a child
  // control of `parent` at `place` in its client area.
  void CreateAsChild(HWND parent, int id, HINSTANCE instance, const WindowClass& cls, DWORD style,
                     DWORD exStyle, const wchar_t* caption, const Rect& place);

  // Destroys the window now, if it still exists. Derived windows call it in
  // their destructor when their members (fonts, image lists) must outlive it.
  void Destroy();

  // The controls Tab visits, in order. Without one the dialog manager's
  // order (the stacking order) applies.
  void SetTabOrder(std::vector<HWND> order) { tabOrder_ = std::move(order); }

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Register(HINSTANCE instance, const WindowClass& cls);
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;  // owned while alive; cleared on WM_NCDESTROY
  bool dialogKeys_ = false;
  std::vector<HWND> tabOrder_;  // children of this window: not owned
};

// Creates a child control at `place` (none: at the origin, with no size until
// it is laid out) and fails loudly when the system refuses.
HWND CreateChild(HWND parent, int id, const wchar_t* cls, const wchar_t* caption, DWORD style,
                 DWORD exStyle, HINSTANCE instance, const Rect& place = {});

}  // namespace nestova::ui
