#include "components/TsLabelFX.h"

#include <optional>

namespace nestova::components {

void TsLabelFX::Create(HWND parent, int id, HINSTANCE instance, const std::wstring& caption,
                       const ui::Rect& place) {
  static const ui::WindowClass cls{L"TsLabelFX"};
  TsCustomLabel::Create(parent, id, instance, cls, caption, WS_VISIBLE | WS_CLIPSIBLINGS, place);
}

void TsLabelFX::SetAngle(int value) {
  FAngle = value;
  if (FAngle != 0 && WordWrap()) SetWordWrap(false);
  Invalidate();  // fixed size: no re-measuring
}

void TsLabelFX::Invalidate() {
  // Word wrap and a turned text exclude each other; the one set last wins.
  if (WordWrap() && FAngle != 0) FAngle = 0;
  TsCustomLabel::Invalidate();
}

void TsLabelFX::SetKindType(TsKindType value) {
  FKind.KindType = value;
  Invalidate();
}

void TsLabelFX::SetKindColor(ColorRef value) {
  FKind.Color = value;
  Invalidate();
}

void TsLabelFX::SetShadowBlurCount(int value) {
  if (!FShadow.SetBlurCount(value)) return;
  UpdatePosition();
  Invalidate();
}

void TsLabelFX::SetShadowDistance(int value) {
  if (!FShadow.SetDistance(value)) return;
  UpdatePosition();
  Invalidate();
}

void TsLabelFX::SetShadowColor(ColorRef value) {
  if (FShadow.SetColor(value)) Invalidate();
}

void TsLabelFX::SetShadowMode(TsShadowMode value) {
  if (!FShadow.SetMode(value)) return;
  UpdatePosition();
  Invalidate();
}

void TsLabelFX::SetShadowAlphaValue(std::uint8_t value) {
  if (FShadow.SetAlphaValue(value)) Invalidate();
}

// No skin manager is ever active in this program: no skin shadow, no skin
// font colour.
TShadowData TsLabelFX::CurrentShadowData() const {
  return components::CurrentShadowData(FShadow, std::nullopt);
}

ColorRef TsLabelFX::CurrentFontColor() const {
  return components::CurrentFontColor(FKind, Color(), std::nullopt);
}

LabelBounds TsLabelFX::Bounds() const {
  RECT r{};
  ::GetWindowRect(hwnd(), &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TsLabelFX::MoveTo(const LabelBounds& b) {
  // The system takes no negative size.
  ::SetWindowPos(hwnd(), nullptr, b.left, b.top, b.width < 0 ? 0 : b.width,
                 b.height < 0 ? 0 : b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TsLabelFX::UpdatePosition() {
  if (!hwnd()) return;
  const ShadowExtents current = ExtentsOf(CurrentShadowData());
  if (current == OffsetKeeper().Extents()) return;
  IntPosChanging = true;
  AdjustBounds();
  OffsetKeeper().Take(current);
  IntPosChanging = false;
}

void TsLabelFX::AdjustBounds() {
  if (!hwnd()) return;
  MoveTo(OffsetKeeper().AdjustBounds(Bounds(), ExtentsOf(CurrentShadowData()), EffectiveAlignment(),
                                     Layout()));
}

LabelFxState TsLabelFX::State() const {
  LabelFxState s;
  s.caption = Caption();
  s.font = Font();
  s.fontColor = FontColor();
  s.textColor = CurrentFontColor();
  s.color = Color();
  s.alignment = EffectiveAlignment();
  s.layout = Layout();
  s.wordWrap = WordWrap();
  s.angle = FAngle;
  s.enabled = Enabled();
  s.transparent = Transparent();
  s.showAccelChar = ShowAccelChar();
  // Without a shadow mode (and never a skin) the label draws as a plain one.
  s.plain = FShadow.Mode() == TsShadowMode::smNone;
  s.shadow = CurrentShadowData();
  return s;
}

void TsLabelFX::DoDrawText(HDC dc, RECT& rect, UINT flags) {
  painter_.DoDrawText(dc, rect, flags, State());
}

void TsLabelFX::PaintText(HDC dc, const RECT& client) { painter_.Paint(dc, client, State()); }

LRESULT TsLabelFX::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGED && !IntPosChanging) {
    // Moved or resized by someone else: these bounds belong to the shadow
    // as it is now.
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
      OffsetKeeper().Take(ExtentsOf(CurrentShadowData()));
    }
  }
  return TsCustomLabel::HandleMessage(msg, wParam, lParam);
}

}  // namespace nestova::components
