#pragma once
// Thin views of the common controls the windows use: one named call per
// message they send, and no state of their own. The parent window owns and
// destroys the controls; these only hold the handle.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

namespace nestova::ui {

class Control {
 public:
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  void Enable(bool enabled) const { ::EnableWindow(hwnd_, enabled); }
  bool Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
  void SetText(const std::wstring& text) const { ::SetWindowTextW(hwnd_, text.c_str()); }
  std::wstring Text() const;

 protected:
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(hwnd_, msg, wParam, lParam);
  }

 private:
  HWND hwnd_;
};

class Button : public Control {
 public:
  using Control::Control;
  // A glyph beside the text; the button borrows the list.
  void SetImageList(HIMAGELIST list, RECT margin, UINT align) const;
};

// Items by index from 0; -1 is "none", as the control counts.
class ListBox : public Control {
 public:
  using Control::Control;
  void Clear() const { Send(LB_RESETCONTENT); }
  // The new item's index, or -1 when the control could not store it.
  int Add(const std::wstring& text) const;
  int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  std::wstring Item(int index) const;
  int Selected() const { return static_cast<int>(Send(LB_GETCURSEL)); }
  void Select(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
};

class ListView : public Control {
 public:
  using Control::Control;
  void Clear() const { Send(LVM_DELETEALLITEMS); }
  // Appends an item showing image `image` of the normal image list; the new
  // item's index, or -1.
  int Add(const std::wstring& text, int image) const;
  int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  std::wstring Item(int index) const;
  int ImageOf(int index) const;
  int Selected() const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  void Select(int index) const;
  // The list whose images the items index. Without LVS_SHAREIMAGELISTS the
  // control destroys the list with itself, so owners set that style.
  void SetImageList(HIMAGELIST list, int which = LVSIL_NORMAL) const {
    Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
  }
  // Stops and restarts painting around many changes.
  void SetRedraw(bool on) const { Send(WM_SETREDRAW, on ? TRUE : FALSE); }
};

}  // namespace nestova::ui
