#pragma once
// The effect label: its text in a colour of its own over a soft, blurred
// shadow, optionally turned by an angle. The window keeps the label's
// properties; LabelFxPainter draws it.
#include <windows.h>

#include "components/TsCustomLabel.h"
#include "components/TsLabelFX_paint.h"
#include "components/TsShadow.h"

namespace nestova::components {

class TsLabelFX final : public TsCustomLabel {
 public:
  TsLabelFX() = default;
  ~TsLabelFX() override { Destroy(); }

  // Creates the label's window, visible, as a child of `parent` at `place`.
  void Create(HWND parent, int id, HINSTANCE instance, const std::wstring& caption,
              const ui::Rect& place = {});

  // Degrees, counter-clockwise. A turned text is never wrapped.
  int Angle() const { return FAngle; }
  void SetAngle(int value);

  const TsKind& Kind() const { return FKind; }
  void SetKindType(TsKindType value);
  void SetKindColor(ColorRef value);

  // `Shadow`: its values, and setters that keep the label in step.
  const TsShadow& Shadow() const { return FShadow; }
  TacOffsetKeeper& OffsetKeeper() { return FShadow.OffsetKeeper(); }
  // Held to 0..255 passes and -1000..1000 pixels.
  void SetShadowBlurCount(int value);
  void SetShadowDistance(int value);
  void SetShadowColor(ColorRef value);
  void SetShadowMode(TsShadowMode value);
  void SetShadowAlphaValue(std::uint8_t value);

  TShadowData CurrentShadowData() const;
  ColorRef CurrentFontColor() const;

  // Moves and resizes the label so that its text stays where it is while
  // the shadow's extents change.
  void UpdatePosition();
  void AdjustBounds();

  void Invalidate() override;

  // One text drawing, as the label's paint makes it (DT_CALCRECT measures).
  void DoDrawText(HDC dc, RECT& rect, UINT flags);

  bool NeedInvalidate() const { return painter_.NeedInvalidate(); }
  int OffsTopLeft() const { return painter_.OffsTopLeft(); }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void PaintText(HDC dc, const RECT& client) override;
  void TextChanged() override { AdjustBounds(); }

  LabelFxState State() const;
  LabelBounds Bounds() const;
  void MoveTo(const LabelBounds& bounds);

  LabelFxPainter painter_;  // the mask bitmap and the shadow plane
  TsShadow FShadow;
  TsKind FKind;
  bool IntPosChanging = false;
  int FAngle = 0;
};

}  // namespace nestova::components
