#include "components/TsWebLabel.h"

#include "platform/text.h"

namespace nestova::components {
namespace {

platform::UniqueFont CopyOf(HFONT font) {
  LOGFONTW logFont{};
  if (!font || ::GetObjectW(font, sizeof logFont, &logFont) == 0) return {};
  return platform::UniqueFont(::CreateFontIndirectW(&logFont));
}

}  // namespace

void TsWebLabel::Create(HWND parent, int id, HINSTANCE instance, const std::wstring& caption,
                        const ui::Rect& place) {
  static const ui::WindowClass cls{L"TsWebLabel", nullptr, nullptr, false, IDC_HAND};
  TsCustomLabel::Create(parent, id, instance, cls, caption, WS_VISIBLE | WS_CLIPSIBLINGS, place);
}

void TsWebLabel::SetFont(HFONT font) {
  // The window sends the new font to itself; WM_SETFONT keeps the copy.
  if (hwnd()) {
    ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  } else {
    FNormalFont = CopyOf(font);
  }
}

void TsWebLabel::SetHoverFont(HFONT font) { FHoverFont = CopyOf(font); }

void TsWebLabel::SetMouseAbove(bool value) {
  if (MouseAbove_ == value || (value && !Enabled())) return;  // enters only while enabled
  MouseAbove_ = value;
  // Nothing changes without a skin, but the label is repainted as a
  // skinned one would need.
  Invalidate();
}

void TsWebLabel::PaintText(HDC dc, const RECT& client) {
  LabelFxState s;
  s.caption = Caption();
  s.font = FNormalFont.get();
  s.fontColor = FontColor();
  s.color = Color();
  s.alignment = EffectiveAlignment();
  s.layout = Layout();
  s.wordWrap = WordWrap();
  s.enabled = Enabled();
  s.transparent = Transparent();
  s.showAccelChar = ShowAccelChar();
  s.plain = true;
  painter_.Paint(dc, client, s);
}

LRESULT TsWebLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFONT: {
      // Our own copy, so the label's look does not depend on the sender
      // keeping its font; the drawing font is the normal font.
      platform::UniqueFont copy = CopyOf(reinterpret_cast<HFONT>(wParam));
      const LRESULT result =
          TsCustomLabel::HandleMessage(msg, reinterpret_cast<WPARAM>(copy.get()), lParam);
      FNormalFont = std::move(copy);
      return result;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!MouseAbove_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        ::TrackMouseEvent(&track);
        SetMouseAbove(true);
      }
      return 0;
    case WM_MOUSELEAVE:
      SetMouseAbove(false);
      return 0;
    case WM_LBUTTONDOWN: {
      const LRESULT result = TsCustomLabel::HandleMessage(msg, wParam, lParam);
      // On the press, not on release; the result of the shell is of no use.
      if (!FURL.empty()) {
        platform_.OpenInShell(::GetAncestor(hwnd(), GA_ROOT), platform::FromWide(FURL), FShowMode,
                              platform::ShellVerb::kOpen);
      }
      return result;
    }
  }
  return TsCustomLabel::HandleMessage(msg, wParam, lParam);
}

}  // namespace nestova::components
