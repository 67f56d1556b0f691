#include "app/icon_view_win.h"

#include "platform/text.h"
#include "ui/controls.h"

namespace nestova {

void ListViewIconView::RemoveAllItems() { ui::ListView(view_).Clear(); }

std::shared_ptr<IconImageList> ListViewIconView::NewImageList() {
  std::shared_ptr<ViewImageList> list = makeList_();
  ui::ListView(view_).SetImageList(list->Handle());
  // The old list goes now unless a running load still holds it.
  attached_ = list;
  return list;
}

void ListViewIconView::AddItem(const std::u16string& caption, int imageIndex) {
  ui::ListView(view_).Add(platform::ToWide(caption), imageIndex);
}

void ListViewIconView::ReserveImages(int count) {
  if (!attached_) return;
  attached_->Reserve(count);
  ui::ListView(view_).SetImageList(attached_->Handle());  // perhaps a new one
}

void ListViewIconView::HoldPainting(bool hold) {
  const ui::ListView view(view_);
  // Asking the list for its handle puts in the pictures still waiting.
  if (!hold && attached_) view.SetImageList(attached_->Handle());
  view.SetRedraw(!hold);
  if (!hold) ::InvalidateRect(view_, nullptr, TRUE);
}

std::optional<std::u16string> ListViewIconView::SelectedCaption() const {
  const ui::ListView view(view_);
  const int index = view.Selected();
  if (index < 0) return std::nullopt;
  return platform::FromWide(view.Item(index));  // a file name, perhaps longer than MAX_PATH
}

}  // namespace nestova
