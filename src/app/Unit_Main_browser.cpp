// The main window's collection list and icon view.
#include "app/Unit_Main.h"
#include "platform/text.h"
#include "ui/controls.h"

namespace nestova {

void TFrm_Main::CreateBrowser() {
  iconView_ = std::make_unique<ListViewIconView>(
      Control(kLVIcons), [this] { return std::make_shared<AlphaViewImageList>(platform_); },
      [this] { ProcessPendingMessages(); });
  browser_ = std::make_unique<CollectionBrowser>(platform_, *iconView_);
}

void TFrm_Main::LoadCollections() {
  const ui::ListBox list(Control(kLBxColl));
  list.Clear();
  for (const std::u16string& name : ListCollections(platform_, iconsDir_))
    list.Add(platform::ToWide(name));
  list.Select(list.Count() > 0 ? 0 : -1);
  LBx_CollClick();
}

void TFrm_Main::LBx_CollClick() {
  const ui::ListBox list(Control(kLBxColl));
  const int selected = list.Selected();
  if (selected < 0) return;
  currentCollection_ = platform::FromWide(list.Item(selected));
  LoadCollectionIcons();
}

void TFrm_Main::LoadCollectionIcons() {
  browser_->LoadCollectionIcons(iconsDir_, currentCollection_);
}

void TFrm_Main::ProcessPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The main loop has to see it too.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (TranslateDialogKeys(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace nestova
