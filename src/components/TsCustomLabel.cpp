#include "components/TsCustomLabel.h"

#include <vector>

#include "platform/handles.h"

namespace nestova::components {

void TsCustomLabel::Create(HWND parent, int id, HINSTANCE instance, const ui::WindowClass& cls,
                           const std::wstring& caption, DWORD style, const ui::Rect& place) {
  CreateAsChild(parent, id, instance, cls, style, 0, caption.c_str(), place);
}

std::wstring TsCustomLabel::Caption() const {
  if (!hwnd()) return {};
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd())) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TsCustomLabel::SetCaption(const std::wstring& text) {
  ::SetWindowTextW(hwnd(), text.c_str());  // WM_SETTEXT does the rest
}

void TsCustomLabel::SetAlignment(TextAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TsCustomLabel::SetLayout(TextLayout value) {
  FLayout = value;
  Invalidate();
}

void TsCustomLabel::SetWordWrap(bool value) {
  FWordWrap = value;
  Invalidate();
}

void TsCustomLabel::SetShowAccelChar(bool value) {
  FShowAccelChar = value;
  Invalidate();
}

void TsCustomLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TsCustomLabel::SetColor(ColorRef value) {
  FColor = value;
  Invalidate();
}

void TsCustomLabel::SetFontColor(ColorRef value) {
  FFontColor = value;
  Invalidate();
}

bool TsCustomLabel::Enabled() const { return hwnd() && ::IsWindowEnabled(hwnd()); }

TextAlignment TsCustomLabel::EffectiveAlignment() const {
  const bool rtl = hwnd() && (::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  return MirroredForRightToLeft(FAlignment, rtl);
}

void TsCustomLabel::Invalidate() {
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void TsCustomLabel::PaintParentBackground(HDC dc) {
  if (!FTransparent) return;  // the text drawing fills it with the label's colour
  HWND parent = ::GetParent(hwnd());
  if (!parent) return;
  // The parent paints its client area as if the picture were its own, moved
  // so that the part behind the label lands on the picture.
  POINT origin{0, 0};
  ::MapWindowPoints(hwnd(), parent, &origin, 1);
  POINT old{};
  ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void TsCustomLabel::PaintTo(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  // Built off screen so the background never shows without its text.
  const platform::UniqueMemoryDC memory(::CreateCompatibleDC(dc));
  const platform::UniqueBitmap picture(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !picture) {
    PaintParentBackground(dc);
    PaintText(dc, client);
    return;
  }
  {
    const platform::ScopedSelect select(memory.get(), picture.get());
    PaintParentBackground(memory.get());
    PaintText(memory.get(), client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }
}

LRESULT TsCustomLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint draws the background with the text
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      if (dc) {
        PaintTo(dc);
        ::EndPaint(hwnd(), &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFONT:
      FFont = reinterpret_cast<HFONT>(wParam);
      FontChanged();
      if (LOWORD(lParam)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FFont);
    case WM_SETTEXT: {
      const LRESULT result = DefaultProc(msg, wParam, lParam);
      TextChanged();
      Invalidate();
      return result;
    }
    case WM_ENABLE:
      Invalidate();
      return 0;
    case WM_SIZE:
    case WM_MOVE:
      // A centred text moves with the size, and a new place has another
      // background behind it: all of the label is painted anew.
      Invalidate();
      break;
    case WM_GETDLGCODE:
      return DLGC_STATIC;  // never takes the focus
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace nestova::components
