#include "components/TsLabelFX_paint.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <span>
#include <utility>

#include "components/saturate.h"
#include "platform/dib.h"

namespace nestova::components {
namespace {

using platform::ScopedSelect;

// Text colour, background mode and text alignment go back as they were.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
  ~SavedDCState() {
    if (saved_ != 0) ::RestoreDC(dc_, saved_);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

int TextLength(const std::wstring& text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
}

UINT AlignmentFlag(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::kRight:
      return DT_RIGHT;
    case TextAlignment::kCenter:
      return DT_CENTER;
    case TextAlignment::kLeft:
      break;
  }
  return DT_LEFT;
}

// The text's size in the label's font, measured on the screen: wrapped in
// the rectangle's width, or the extent of the whole string (an "&" counts
// with its own width). 0 x 0 when the platform cannot tell.
SIZE MeasureText(const std::wstring& text, UINT flags, HFONT font, bool wordWrap,
                 const RECT& rect) {
  platform::ScreenDC screen;
  if (!screen.get()) return {0, 0};
  ScopedSelect selectFont(screen.get(), font);
  if (wordWrap) {
    RECT calc = rect;
    if (::DrawTextW(screen.get(), text.c_str(), TextLength(text), &calc, flags | DT_CALCRECT) ==
        0) {
      return {0, 0};
    }
    return {calc.right - calc.left, calc.bottom - calc.top};
  }
  SIZE size{};
  if (!::GetTextExtentPoint32W(screen.get(), text.c_str(), TextLength(text), &size)) {
    return {0, 0};
  }
  return size;
}

// The label's font turned by `angle` degrees; empty when it cannot be made.
platform::UniqueFont RotatedFont(HFONT font, int angle) {
  LOGFONTW logFont{};
  if (!font || ::GetObjectW(font, sizeof logFont, &logFont) == 0) return {};
  logFont.lfEscapement = logFont.lfOrientation = (angle % 360) * 10;
  return platform::UniqueFont(::CreateFontIndirectW(&logFont));
}

void PrepareForText(HDC dc, COLORREF color) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  ::SetTextColor(dc, color);
}

// The plain label: its own flags, no shadow, the font's colour.
void DrawPlainLabel(HDC dc, RECT& rect, UINT flags, const LabelFxState& state) {
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (!measuring && (rect.right <= rect.left || rect.bottom <= rect.top)) return;
  std::wstring text = state.caption;
  // An empty or lone-accelerator text still measures one line high.
  if (measuring && (text.empty() || (state.showAccelChar && text == L"&"))) text += L' ';
  if (!state.showAccelChar) flags |= DT_NOPREFIX;
  const int length = TextLength(text);

  SavedDCState saved(dc);
  ScopedSelect selectFont(dc, state.font);
  if (!state.enabled) {
    PrepareForText(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::OffsetRect(&rect, 1, 1);
    ::DrawTextW(dc, text.c_str(), length, &rect, flags);
    ::OffsetRect(&rect, -1, -1);
    PrepareForText(dc, ::GetSysColor(COLOR_BTNSHADOW));
  } else {
    PrepareForText(dc, state.fontColor);
  }
  ::DrawTextW(dc, text.c_str(), length, &rect, flags);
}

}  // namespace

// Draws the label's text with its text rectangle moved by (shiftX, shiftY):
// DrawTextW into the rectangle, or a rotated text from its origin.
struct LabelTextDrawer {
  const std::wstring& text;
  UINT flags;
  bool rotated;
  RotatedBox box;

  void Draw(HDC dc, const LabelRect& tr, std::int64_t shiftX, std::int64_t shiftY) const {
    const int left = SaturateToInt(tr.left + shiftX);
    const int top = SaturateToInt(tr.top + shiftY);
    if (rotated) {
      ::ExtTextOutW(dc, SaturateToInt(std::int64_t{left} + box.dx),
                    SaturateToInt(std::int64_t{top} + box.dy), 0, nullptr, text.c_str(),
                    static_cast<UINT>(TextLength(text)), nullptr);
      return;
    }
    RECT r{left, top, SaturateToInt(tr.right + shiftX), SaturateToInt(tr.bottom + shiftY)};
    ::DrawTextW(dc, text.c_str(), TextLength(text), &r, flags);
  }
};

void LabelFxPainter::Paint(HDC dc, const RECT& client, const LabelFxState& state) {
  if (!state.transparent) {
    const platform::UniqueGdi<HBRUSH> brush(::CreateSolidBrush(state.color));
    if (brush) ::FillRect(dc, &client, brush.get());
  }
  UINT flags = DT_EXPANDTABS | AlignmentFlag(state.alignment);
  if (state.wordWrap) flags |= DT_WORDBREAK;
  RECT rect = client;
  if (state.layout != TextLayout::kTop) {
    RECT calc = client;
    DoDrawText(dc, calc, flags | DT_CALCRECT, state);
    const std::int64_t free = std::int64_t{client.bottom} - client.top - calc.bottom;
    const std::int64_t shift = state.layout == TextLayout::kBottom ? free : free / 2;
    rect.top = SaturateToInt(rect.top + shift);
    rect.bottom = SaturateToInt(rect.bottom + shift);
  }
  DoDrawText(dc, rect, flags, state);
}

void LabelFxPainter::DoDrawText(HDC dc, RECT& rect, UINT flags, const LabelFxState& state) {
  if (state.plain) {
    DrawPlainLabel(dc, rect, flags, state);
    return;
  }
  const TShadowData& shadow = state.shadow;
  const ShadowExtents extents = ExtentsOf(shadow);
  offsTopLeft_ = extents.leftTop;
  // The text is placed below, clear of the shadow: a measuring call has
  // nothing to report and leaves the rectangle as it is.
  if ((flags & DT_CALCRECT) != 0) return;
  const std::int64_t width = std::int64_t{rect.right} - rect.left;
  const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
  // Nothing to draw: neither text nor shadow.
  if (width <= 0 || height <= 0 || state.caption.empty()) return;

  const std::wstring& text = state.caption;
  flags |= DT_NOCLIP;
  if (!state.showAccelChar) flags |= DT_NOPREFIX;
  flags |= state.wordWrap ? DT_WORDBREAK : DT_SINGLELINE;

  const SIZE size = MeasureText(text, flags, state.font, state.wordWrap, rect);
  const bool rotated = state.angle != 0;
  const RotatedBox box = RotateTextBox(size.cx, size.cy, state.angle);
  // Declared before the selections below so that it outlives them.
  platform::UniqueFont rotatedFont;
  if (rotated) rotatedFont = RotatedFont(state.font, state.angle);
  const HFONT font = rotatedFont ? rotatedFont.get() : state.font;
  const LabelRect tr =
      TextRectFor({rect.left, rect.top, rect.right, rect.bottom}, box.width, box.height,
                  state.alignment, state.layout, extents, shadow.Offset);
  const LabelTextDrawer drawer{text, flags, rotated, box};

  SavedDCState saved(dc);
  ScopedSelect selectFont(dc, font);
  if (!state.enabled) {
    // Embossed, without shadow.
    PrepareForText(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    drawer.Draw(dc, tr, 1, 1);
    PrepareForText(dc, ::GetSysColor(COLOR_BTNSHADOW));
    drawer.Draw(dc, tr, 0, 0);
    return;
  }
  PrepareForText(dc, state.textColor);
  if (shadow.Color != kClNone && shadow.Blur > 0) {
    // A label too large for a shadow, or a bitmap the system refuses, still
    // shows its text.
    DrawShadow(dc, rect, font, drawer, tr, state);
  }
  drawer.Draw(dc, tr, 0, 0);
}

bool LabelFxPainter::DrawShadow(HDC dc, const RECT& rect, HFONT font, const LabelTextDrawer& drawer,
                                const LabelRect& tr, const LabelFxState& state) {
  const int width = SaturateToInt(std::int64_t{rect.right} - rect.left);
  const int height = SaturateToInt(std::int64_t{rect.bottom} - rect.top);
  const std::optional<std::size_t> bytes = ShadowImageBytes(width, height);
  if (!bytes || !ResizeMask(dc, width, height)) return false;
  const platform::UniqueMemoryDC maskDC(::CreateCompatibleDC(dc));
  if (!maskDC) return false;
  const ScopedSelect selectMask(maskDC.get(), mask_.get());
  const std::span<std::uint8_t> pixels(maskBits_, *bytes);
  const TShadowData& shadow = state.shadow;

  // The shape: the text in white on black, moved by the shadow's offset.
  ::GdiFlush();
  std::fill(pixels.begin(), pixels.end(), std::uint8_t{0});
  {
    const ScopedSelect selectFont(maskDC.get(), font);
    PrepareForText(maskDC.get(), RGB(255, 255, 255));
    drawer.Draw(maskDC.get(), tr, std::int64_t{shadow.Offset} - rect.left,
                std::int64_t{shadow.Offset} - rect.top);
  }
  ::GdiFlush();
  if (!plane_.Build(pixels, width, height, shadow.Blur)) return false;

  // Blended over what lies behind the label, or over its own colour.
  std::optional<ColorRef> solid;
  if (state.transparent) {
    if (!::BitBlt(maskDC.get(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY)) {
      return false;
    }
    ::GdiFlush();
  } else {
    solid = state.color;
  }
  if (!plane_.Compose(pixels, shadow.Alpha, shadow.Color, solid)) return false;
  needInvalidate_ = false;
  return ::BitBlt(dc, rect.left, rect.top, width, height, maskDC.get(), 0, 0, SRCCOPY) != FALSE;
}

bool LabelFxPainter::ResizeMask(HDC reference, int width, int height) {
  if (mask_ && maskWidth_ == width && maskHeight_ == height) return true;
  const BITMAPINFO info = platform::TopDown32BitInfo(width, height);
  void* bits = nullptr;
  platform::UniqueBitmap bitmap(
      ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) {
    mask_.reset();
    maskBits_ = nullptr;
    maskWidth_ = maskHeight_ = 0;
    return false;
  }
  mask_ = std::move(bitmap);
  maskBits_ = static_cast<std::uint8_t*>(bits);
  maskWidth_ = width;
  maskHeight_ = height;
  return true;
}

}  // namespace nestova::components
