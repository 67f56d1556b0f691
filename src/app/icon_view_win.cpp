#include "app/icon_view_win.h"

#include <vector>

#include "platform/text.h"

namespace nestova {

void ListViewIconView::RemoveAllItems() { ListView_DeleteAllItems(view_); }

std::shared_ptr<IconImageList> ListViewIconView::NewImageList() {
  std::shared_ptr<ViewImageList> list = makeList_();
  ListView_SetImageList(view_, list->Handle(), LVSIL_NORMAL);
  // The old list goes now unless a running load still holds it.
  attached_ = list;
  return list;
}

void ListViewIconView::AddItem(const std::u16string& caption, int imageIndex) {
  std::wstring text = platform::ToWide(caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = ListView_GetItemCount(view_);
  item.pszText = text.data();
  item.iImage = imageIndex;
  ListView_InsertItem(view_, &item);
}

std::optional<std::u16string> ListViewIconView::SelectedCaption() const {
  const int index = ListView_GetNextItem(view_, -1, LVNI_SELECTED);
  if (index < 0) return std::nullopt;
  // The caption is a file name, which may be longer than MAX_PATH.
  std::vector<wchar_t> buffer(512);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto n = static_cast<size_t>(::SendMessageW(
        view_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (n + 1 < buffer.size()) return platform::FromWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace nestova
