#include "ui/window.h"

#include <stdexcept>
#include <string>

#include "ui/tab_order.h"

namespace nestova::ui {

void ReportSwallowed([[maybe_unused]] const char* what) noexcept {
#ifndef NDEBUG
  ::OutputDebugStringA("Nestova: a handler failed: ");
  ::OutputDebugStringA(what);
  ::OutputDebugStringA("\n");
#endif
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

void Window::Register(HINSTANCE instance, const WindowClass& cls) {
  dialogKeys_ = cls.dialogKeys;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = cls.name;
  wc.hIcon = cls.icon;
  wc.hIconSm = cls.smallIcon;
  wc.hCursor = ::LoadCursorW(nullptr, cls.cursor);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.cbWndExtra = cls.dialogKeys ? DLGWINDOWEXTRA : 0;
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassExW failed");
  }
}

void Window::CreateTopLevel(HINSTANCE instance, const WindowClass& cls, DWORD exStyle, DWORD style,
                            const wchar_t* caption, const Rect& place) {
  Register(instance, cls);
  if (!::CreateWindowExW(exStyle, cls.name, caption, style, place.left, place.top, place.width,
                         place.height, nullptr, nullptr, instance, this)) {
    throw std::runtime_error("CreateWindowExW failed");
  }
}

void Window::CreateAsChild(HWND parent, int id, HINSTANCE instance, const WindowClass& cls,
                           DWORD style, DWORD exStyle, const wchar_t* caption, const Rect& place) {
  Register(instance, cls);
  if (!::CreateWindowExW(exStyle, cls.name, caption, WS_CHILD | style, place.left, place.top,
                         place.width, place.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this)) {
    throw std::runtime_error("CreateWindowExW failed for a child window");
  }
}

bool Window::TranslateDialogKeys(MSG& msg) {
  if (!hwnd_) return false;
  if (!tabOrder_.empty() && IsTabKey(msg) && ::IsChild(hwnd_, msg.hwnd)) {
    const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
    if (HWND next = NextInTabOrder(tabOrder_, ::GetFocus(), backwards)) {
      ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
    return true;
  }
  return dialogKeys_ && ::IsDialogMessageW(hwnd_, &msg);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(msg, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return dialogKeys_ ? ::DefDlgProcW(hwnd_, msg, wParam, lParam)
                     : ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) {
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO) or after WM_NCDESTROY.
    const bool dialog = ::GetClassLongPtrW(hwnd, GCL_CBWNDEXTRA) >= DLGWINDOWEXTRA;
    return dialog ? ::DefDlgProcW(hwnd, msg, wParam, lParam)
                  : ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  // A failed handler leaves its action undone; the window carries on.
  const LRESULT result = Guarded([&] { return self->HandleMessage(msg, wParam, lParam); },
                                 [&] { return self->DefaultProc(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

HWND CreateChild(HWND parent, int id, const wchar_t* cls, const wchar_t* caption, DWORD style,
                 DWORD exStyle, HINSTANCE instance, const Rect& place) {
  HWND child = ::CreateWindowExW(
      exStyle, cls, caption, WS_CHILD | style, place.left, place.top, place.width, place.height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!child) {
    std::string name;
    for (const wchar_t* c = cls; *c; ++c) name += static_cast<char>(*c);
    throw std::runtime_error("cannot create a control of class " + name);
  }
  return child;
}

}  // namespace nestova::ui
