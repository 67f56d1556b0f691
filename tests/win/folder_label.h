#pragma once
// Lbl_Folder's drawing state as the main window sets it up: centred both
// ways, white text, black shadow of blur 4 at distance 1, a path with "&" as
// a character.
#include <windows.h>

#include <string>

#include "components/TsLabelFX_paint.h"

namespace nestova::testing_win {

inline components::LabelFxState FolderLabelState(const std::wstring& caption, HFONT font) {
  components::LabelFxState s;
  s.caption = caption;
  s.font = font;
  s.textColor = RGB(255, 255, 255);
  s.alignment = components::TextAlignment::kCenter;
  s.layout = components::TextLayout::kCenter;
  s.showAccelChar = false;
  s.shadow = {components::kClBlack, 4, 1, 255};
  return s;
}

}  // namespace nestova::testing_win
