#pragma once
// Base of our windows: one window procedure that stores the C++ object on
// WM_NCCREATE and routes every message to HandleMessage. Nothing a handler
// throws escapes into the system.
#include <windows.h>

namespace nestova::ui {

struct WindowClass {
  const wchar_t* name;
  HICON icon = nullptr;        // not owned; resources loaded for the class live as long
  HICON smallIcon = nullptr;   // as the process
  // Dialog keyboard handling (Tab, Enter, Esc, default button) through the
  // system's dialog manager.
  bool dialogKeys = false;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  Window() = default;
  virtual ~Window();

  // Registers the class on first use and creates the window, hidden.
  void CreateTopLevel(HINSTANCE instance, const WindowClass& cls, DWORD exStyle, DWORD style,
                      const wchar_t* caption);

  // Destroys the window now, if it still exists. Derived windows call it in
  // their destructor when their members (fonts, image lists) must outlive it.
  void Destroy();

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;  // owned while alive; cleared on WM_NCDESTROY
  bool dialogKeys_ = false;
};

}  // namespace nestova::ui
