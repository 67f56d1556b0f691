#pragma once
// A text label as a child window of its own. It is transparent: each paint
// starts from what its parent shows behind it, so the label only adds its
// text. Derived labels draw the text; this class keeps the label's
// properties and does the buffered painting.
#include <windows.h>

#include <string>

#include "components/color.h"
#include "components/label_geometry.h"
#include "ui/window.h"

namespace nestova::components {

class TsCustomLabel : public ui::Window {
 public:
  std::wstring Caption() const;
  void SetCaption(const std::wstring& text);

  TextAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TextAlignment value);
  TextLayout Layout() const { return FLayout; }
  void SetLayout(TextLayout value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // "&" marks the next character as an accelerator while this is on.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // The label's own colour: its background when it is not transparent.
  ColorRef Color() const { return FColor; }
  void SetColor(ColorRef value);
  // The colour of the label's font.
  ColorRef FontColor() const { return FFontColor; }
  void SetFontColor(ColorRef value);
  // The drawing font; lent by whoever set it (WM_SETFONT), not owned.
  HFONT Font() const { return FFont; }

  bool Enabled() const;
  // Alignment after right-to-left mirroring.
  TextAlignment EffectiveAlignment() const;

  // Repaints the label: its parent's background behind it, then its text.
  virtual void Invalidate();

  // Paints the label as it looks now, its parent's background included,
  // into `dc` at the origin: what a WM_PAINT puts on the screen.
  void PaintTo(HDC dc);

 protected:
  TsCustomLabel() = default;

  // Creates the window at `place`; `cls` is the derived class's window class.
  void Create(HWND parent, int id, HINSTANCE instance, const ui::WindowClass& cls,
              const std::wstring& caption, DWORD style, const ui::Rect& place);

  // Draws the text onto a picture that already holds the background.
  virtual void PaintText(HDC dc, const RECT& client) = 0;
  // The font was replaced through WM_SETFONT.
  virtual void FontChanged() {}
  // The caption was replaced.
  virtual void TextChanged() {}

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintParentBackground(HDC dc);

  HFONT FFont = nullptr;
  ColorRef FColor = ::GetSysColor(COLOR_BTNFACE);
  ColorRef FFontColor = ::GetSysColor(COLOR_WINDOWTEXT);
  TextAlignment FAlignment = TextAlignment::kLeft;
  TextLayout FLayout = TextLayout::kTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  bool FTransparent = true;  // as every label of this family starts
};

}  // namespace nestova::components
