// The main window's collection list and icon view.
#include <windowsx.h>

#include "app/Unit_Main.h"
#include "app/extracted_icon_list.h"
#include "platform/text.h"

namespace nestova {

void TFrm_Main::CreateBrowser() {
  // Until the program's own image list lands, the system extracts the icons.
  iconView_ = std::make_unique<ListViewIconView>(
      Control(kLVIcons), [this] { return std::make_shared<ExtractedIconList>(instance_); },
      [this] { ProcessPendingMessages(); });
  browser_ = std::make_unique<CollectionBrowser>(platform_, *iconView_);
}

void TFrm_Main::LoadCollections() {
  HWND list = Control(kLBxColl);
  ListBox_ResetContent(list);
  for (const std::u16string& name : ListCollections(platform_, iconsDir_))
    ListBox_AddString(list, platform::ToWide(name).c_str());
  ListBox_SetCurSel(list, ListBox_GetCount(list) > 0 ? 0 : -1);
  LBx_CollClick();
}

void TFrm_Main::LBx_CollClick() {
  HWND list = Control(kLBxColl);
  const int selected = ListBox_GetCurSel(list);
  if (selected < 0) return;
  std::wstring text(static_cast<size_t>(std::max(ListBox_GetTextLen(list, selected), 0)), L'\0');
  ListBox_GetText(list, selected, text.data());
  currentCollection_ = platform::FromWide(text.c_str());
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
