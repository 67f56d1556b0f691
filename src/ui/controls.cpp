#include "ui/controls.h"

#include <vector>

namespace nestova::ui {

std::wstring Control::Text() const {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd_)), L'\0');
  if (!text.empty()) {
    text.resize(static_cast<size_t>(
        ::GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()) + 1)));
  }
  return text;
}

void Button::SetImageList(HIMAGELIST list, RECT margin, UINT align) const {
  BUTTON_IMAGELIST images{list, margin, align};
  Send(BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

int ListBox::Add(const std::wstring& text) const {
  const auto index =
      static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  return index < 0 ? -1 : index;  // LB_ERR and LB_ERRSPACE
}

std::wstring ListBox::Item(int index) const {
  const auto length = static_cast<int>(Send(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
  if (length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto got = static_cast<int>(
      Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

int ListView::Add(const std::wstring& text, int image) const {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Count();
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.iImage = image;
  return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

std::wstring ListView::Item(int index) const {
  // The control copies at most the buffer's size and says how much it wrote;
  // a full buffer may mean a longer text, so grow and ask again.
  for (size_t size = 260;; size *= 2) {
    std::vector<wchar_t> buffer(size);
    LVITEMW item{};
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    const auto got = static_cast<size_t>(
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (got + 1 < size) return std::wstring(buffer.data(), got);
  }
}

int ListView::ImageOf(int index) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

void ListView::Select(int index) const {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = index < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
  // -1 clears the selection of every item.
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace nestova::ui
