#pragma once
// Paints the effect label: its text placed clear of the shadow, the soft
// shadow behind it, or the plain label's text. Draws onto any device
// context; the label window hands in its state for each paint.
#include <windows.h>

#include <cstdint>
#include <string>

#include "components/TsShadow.h"
#include "components/label_geometry.h"
#include "components/shadow_plane.h"
#include "platform/handles.h"

namespace nestova::components {

struct LabelFxState {
  std::wstring caption;
  HFONT font = nullptr;           // lent by the label for the call
  COLORREF fontColor = 0;         // the font's own colour: text of the plain label
  COLORREF textColor = kClWhite;  // CurrentFontColor
  COLORREF color = 0;             // the label's Color as RGB: its background when opaque
  TextAlignment alignment = TextAlignment::kLeft;  // after right-to-left mirroring
  TextLayout layout = TextLayout::kTop;
  bool wordWrap = false;
  int angle = 0;  // degrees, counter-clockwise
  bool enabled = true;
  bool transparent = true;
  // "&" marks the next character as an accelerator. Off for a label that
  // shows a path, where "&" is an ordinary character.
  bool showAccelChar = true;
  // While the label is being loaded, or with no shadow mode and no skin:
  // drawn as the plain label is, without shadow or placement of its own.
  bool plain = false;
  TShadowData shadow;  // CurrentShadowData
};

struct LabelTextDrawer;

// One per label: keeps the mask bitmap and the shadow plane between paints.
class LabelFxPainter {
 public:
  // The label's paint into its client rectangle: an opaque label is filled
  // with its colour; a layout other than top is measured first.
  void Paint(HDC dc, const RECT& client, const LabelFxState& state);

  // One text drawing. With DT_CALCRECT in `flags` it only measures: the
  // plain label returns its text's rectangle in `rect`, the effect label
  // places its text itself and leaves `rect` as it is.
  void DoDrawText(HDC dc, RECT& rect, UINT flags, const LabelFxState& state);

  // True until the first shadow image has been made.
  bool NeedInvalidate() const { return needInvalidate_; }
  // The left/top shadow extent of the last effect paint.
  int OffsTopLeft() const { return offsTopLeft_; }

 private:
  // Steps of the shadow image; false when none could be made.
  bool DrawShadow(HDC dc, const RECT& rect, HFONT font, const LabelTextDrawer& drawer,
                  const LabelRect& tr, const LabelFxState& state);
  bool ResizeMask(HDC reference, int width, int height);

  platform::UniqueBitmap mask_;       // 32-bit top-down DIB: the shape, then the shadow image
  std::uint8_t* maskBits_ = nullptr;  // owned by mask_
  int maskWidth_ = 0;
  int maskHeight_ = 0;
  ShadowPlane plane_;
  bool needInvalidate_ = true;
  int offsTopLeft_ = 0;
};

}  // namespace nestova::components
