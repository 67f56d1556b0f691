// The main window's effect label and link labels and their settings.
#include "app/Unit_Main.h"

namespace nestova {

// The icon set's web page and the program's own page.
const wchar_t TFrm_Main::kIconSetUrl[] = L"https://www.fatcow.com/free-icons";
const wchar_t TFrm_Main::kOwnSiteUrl[] = L"https://nestova.ru/";

HWND TFrm_Main::CreateLabel(MainControl control, HWND parent, const ui::Rect& place) {
  const int id = MainControlId(control);
  switch (control) {
    case kLblFolder:
      Lbl_Folder.Create(parent, id, instance_, L"Folder", place);
      Lbl_Folder.SetAlignment(components::TextAlignment::kCenter);
      Lbl_Folder.SetLayout(components::TextLayout::kCenter);
      // It shows a path: "&" is a character of the name, not an accelerator.
      Lbl_Folder.SetShowAccelChar(false);
      Lbl_Folder.OffsetKeeper().SetLeftTop(-3);
      Lbl_Folder.OffsetKeeper().SetRightBottom(5);
      return Lbl_Folder.hwnd();
    case kWebLabel1:
      sWebLabel1.Create(parent, id, instance_, L"FatCow-Farm Fresh Icons", place);
      sWebLabel1.SetURL(kIconSetUrl);
      return sWebLabel1.hwnd();
    case kWebLabel2:
      sWebLabel2.Create(parent, id, instance_, L"nestova.ru", place);
      sWebLabel2.SetAlignment(components::TextAlignment::kRight);
      sWebLabel2.SetURL(kOwnSiteUrl);
      return sWebLabel2.hwnd();
    default:
      return nullptr;
  }
}

void TFrm_Main::ApplyLabelFonts() {
  // Their normal fonts came with the other controls' fonts.
  sWebLabel1.SetHoverFont(linkFont_.get());
  sWebLabel2.SetHoverFont(linkFont_.get());
}

}  // namespace nestova
