// The main window's "Применить" and "Стандарт": the writer decides, the
// window closes when it is done.
#include "app/Unit_Main.h"
#include "app/folder_icon_writer.h"

namespace nestova {

void TFrm_Main::Btn_ApplyClick() {
  if (ApplyFolderIcon(platform_, hwnd(), iconsDir_, currentCollection_,
                      iconView_->SelectedCaption(), targetFolder_)) {
    ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  }
}

void TFrm_Main::Btn_ClearClick() {
  if (RestoreStandardIcon(platform_, hwnd(), targetFolder_)) ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace nestova
