#include "ui/subclass.h"

#include <stdexcept>
#include <unordered_map>

namespace nestova::ui {
namespace {

struct Subclassing {
  WNDPROC original;
  SubclassProc proc;
  DWORD_PTR data;
};

// A window's messages arrive on the thread that made it, so each thread
// keeps its own windows.
thread_local std::unordered_map<HWND, Subclassing> t_subclassed;

void Restore(HWND hwnd) {
  const auto found = t_subclassed.find(hwnd);
  if (found == t_subclassed.end()) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
  t_subclassed.erase(found);
}

LRESULT CALLBACK Entry(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto found = t_subclassed.find(hwnd);
  if (found == t_subclassed.end()) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  const Subclassing s = found->second;  // the procedure may end the subclass
  const LRESULT result = s.proc(hwnd, msg, wParam, lParam, s.data);
  if (msg == WM_NCDESTROY) Restore(hwnd);
  return result;
}

}  // namespace

void Subclass(HWND hwnd, SubclassProc proc, DWORD_PTR data) {
  if (t_subclassed.contains(hwnd)) throw std::logic_error("the window is subclassed already");
  Subclassing& s = t_subclassed[hwnd];
  s = {nullptr, proc, data};
  s.original = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Entry)));
}

LRESULT CallOriginal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto found = t_subclassed.find(hwnd);
  if (found == t_subclassed.end()) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return ::CallWindowProcW(found->second.original, hwnd, msg, wParam, lParam);
}

void RemoveSubclass(HWND hwnd) { Restore(hwnd); }

}  // namespace nestova::ui
