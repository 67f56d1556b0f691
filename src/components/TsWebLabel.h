#pragma once
// A label that opens a web address when pressed with the left mouse button.
// It keeps a normal and a hover font of its own; without a skin it always
// draws with the normal one, so hovering changes nothing that can be seen.
#include <windows.h>

#include <string>

#include "components/TsCustomLabel.h"
#include "components/TsLabelFX_paint.h"
#include "platform/handles.h"
#include "platform/platform.h"

namespace nestova::components {

// The platform's window show commands, in their order.
enum TsWindowShowMode : int {
  soHide,
  soNormal,
  soShowMinimized,
  soMaximize,
  soShowNoActivate,
  soShow,
  soMinimize,
  soShowMinNoActive,
  soShowNA,
  soRestore,
  soDefault,
};

class TsWebLabel final : public TsCustomLabel {
 public:
  explicit TsWebLabel(platform::Platform& platform) : platform_(platform) {}
  ~TsWebLabel() override { Destroy(); }

  // Creates the label's window, visible, as a child of `parent` at `place`.
  void Create(HWND parent, int id, HINSTANCE instance, const std::wstring& caption,
              const ui::Rect& place = {});

  const std::wstring& URL() const { return FURL; }
  void SetURL(std::wstring value) { FURL = std::move(value); }
  TsWindowShowMode ShowMode() const { return FShowMode; }
  void SetShowMode(TsWindowShowMode value) { FShowMode = value; }

  // Copies of the given font, owned by the label. `Font` also becomes the
  // drawing font (WM_SETFONT does the same).
  HFONT NormalFont() const { return FNormalFont.get(); }
  void SetFont(HFONT font);
  HFONT HoverFont() const { return FHoverFont.get(); }
  void SetHoverFont(HFONT font);

  bool MouseAbove() const { return MouseAbove_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void PaintText(HDC dc, const RECT& client) override;
  void SetMouseAbove(bool value);

  platform::Platform& platform_;
  platform::UniqueFont FNormalFont;
  platform::UniqueFont FHoverFont;
  std::wstring FURL;
  TsWindowShowMode FShowMode = soDefault;
  bool MouseAbove_ = false;
  LabelFxPainter painter_;  // its plain-label drawing
};

}  // namespace nestova::components
