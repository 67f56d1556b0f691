// The effect label painted into a 32-bit bitmap and read back pixel by
// pixel. References are drawn with the platform's own text calls at the
// places the label's rules give.
#include "components/TsLabelFX_paint.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "components/label_geometry.h"
#include "components/shadow_plane.h"
#include "canvas.h"
#include "folder_label.h"
#include "platform/handles.h"

namespace nestova::components {
namespace {

using platform::ScopedSelect;
using testing_win::Canvas;
using testing_win::Count;
using testing_win::FolderLabelState;
using testing_win::SamePixels;

constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr UINT kFolderFlags = DT_EXPANDTABS | DT_CENTER | DT_NOCLIP | DT_SINGLELINE;

SIZE Extent(HFONT font, const std::wstring& text) {
  platform::ScreenDC screen;
  ScopedSelect select(screen.get(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void DrawReference(const Canvas& canvas, HFONT font, const std::wstring& text, RECT r, UINT flags,
                   COLORREF color) {
  ScopedSelect select(canvas.dc(), font);
  ::SetBkMode(canvas.dc(), TRANSPARENT);
  ::SetTextColor(canvas.dc(), color);
  ::DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &r, flags);
}

RECT ToRect(const LabelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

class LabelPaint : public testing::Test {
 protected:
  void SetUp() override {
    font_.reset(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                              DEFAULT_PITCH, L"Tahoma"));
    ASSERT_TRUE(font_);
  }

  // Where Lbl_Folder puts a text of w x h: left (W - w - 2) div 2 + 1, top
  // (H - h - 2) div 2 + 1.
  static RECT FolderTextRect(int width, int height, SIZE text) {
    const int left = (width - text.cx - 2) / 2 + 1;
    const int top = (height - text.cy - 2) / 2 + 1;
    return {left, top, left + text.cx, top + text.cy};
  }

  // The label's shadow steps done by hand: the shape moved by the distance,
  // blurred, blended over the background, the text on top.
  // `expected` holds the background on entry.
  void PaintExpectedShadow(Canvas& expected, const LabelFxState& state, RECT tr, int passes) const {
    const int width = expected.width();
    const int height = expected.height();
    const int offset = state.shadow.Offset;
    Canvas mask(width, height, RGB(0, 0, 0));
    DrawReference(mask, font_.get(), state.caption,
                  {tr.left + offset, tr.top + offset, tr.right + offset, tr.bottom + offset},
                  kFolderFlags | DT_NOPREFIX, kWhite);
    ShadowPlane plane;
    EXPECT_TRUE(plane.Build(mask.Bytes(), width, height, passes));
    EXPECT_TRUE(
        plane.Compose(expected.Bytes(), state.shadow.Alpha, state.shadow.Color, std::nullopt));
    DrawReference(expected, font_.get(), state.caption, tr, kFolderFlags | DT_NOPREFIX, kWhite);
  }

  platform::UniqueFont font_;
};

TEST_F(LabelPaint, FolderTextLiesWhereTheShadowLeavesRoom) {
  Canvas canvas(568, 26, kFace);
  ASSERT_TRUE(canvas.ok());
  const LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
  LabelFxPainter painter;
  EXPECT_TRUE(painter.NeedInvalidate());
  painter.Paint(canvas.dc(), {0, 0, 568, 26}, state);
  EXPECT_FALSE(painter.NeedInvalidate());
  EXPECT_EQ(painter.OffsTopLeft(), -3);

  Canvas expected(568, 26, kFace);
  DrawReference(expected, font_.get(), state.caption,
                FolderTextRect(568, 26, Extent(font_.get(), state.caption)),
                kFolderFlags | DT_NOPREFIX, kWhite);
  const std::vector<int> text = canvas.Where(kWhite);
  EXPECT_GT(Count(text), 20);
  EXPECT_EQ(text, expected.Where(kWhite));
  // Far from the text the blend leaves the background one step darker:
  // 240 * 255 div 256.
  EXPECT_EQ(canvas.At(0, 0), RGB(239, 239, 239));
  EXPECT_EQ(canvas.At(567, 25), RGB(239, 239, 239));
}

TEST_F(LabelPaint, LongPathIsCentredAndCutAtBothEdges) {
  std::wstring caption = L"C:\\";
  for (int i = 0; i < 40; ++i) caption += L"Folder\\";
  const SIZE size = Extent(font_.get(), caption);
  ASSERT_GT(size.cx, 400);
  Canvas canvas(200, 26, kFace);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 200, 26}, FolderLabelState(caption, font_.get()));

  // Not wrapped, not shortened: the one line starts left of the label.
  const RECT tr = FolderTextRect(200, 26, size);
  ASSERT_LT(tr.left, 0);
  Canvas expected(200, 26, kFace);
  DrawReference(expected, font_.get(), caption, tr, kFolderFlags | DT_NOPREFIX, kWhite);
  const std::vector<int> text = canvas.Where(kWhite);
  EXPECT_EQ(text, expected.Where(kWhite));
  int leftEdge = 0;
  int rightEdge = 0;
  for (int y = 0; y < 26; ++y) {
    for (int x = 0; x < 4; ++x) {
      leftEdge += text[y * 200 + x];
      rightEdge += text[y * 200 + 199 - x];
    }
  }
  EXPECT_GT(leftEdge, 0);
  EXPECT_GT(rightEdge, 0);
}

TEST_F(LabelPaint, ShadowIsTheBlurredShapeMovedByTheDistance) {
  const COLORREF background = RGB(30, 120, 220);
  LabelFxState state = FolderLabelState(L"D:\\Icons & More\\", font_.get());
  state.shadow.Color = RGB(90, 0, 10);
  state.shadow.Alpha = 200;
  Canvas canvas(300, 30, background);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 300, 30}, state);

  const RECT tr = FolderTextRect(300, 30, Extent(font_.get(), state.caption));
  Canvas expected(300, 30, background);
  PaintExpectedShadow(expected, state, tr, 4);
  EXPECT_TRUE(SamePixels(canvas, expected));

  // The glow is strongest right of and below the letters.
  const std::vector<int> text = canvas.Where(kWhite);
  long long belowRight = 0;
  long long aboveLeft = 0;
  int pairs = 0;
  for (int y = 1; y + 1 < 30; ++y) {
    for (int x = 1; x + 1 < 300; ++x) {
      if (!text[y * 300 + x] || text[(y + 1) * 300 + x + 1] || text[(y - 1) * 300 + x - 1]) {
        continue;
      }
      belowRight += GetBValue(canvas.At(x + 1, y + 1));
      aboveLeft += GetBValue(canvas.At(x - 1, y - 1));
      ++pairs;
    }
  }
  ASSERT_GT(pairs, 10);
  EXPECT_LT(belowRight, aboveLeft);
}

TEST_F(LabelPaint, HugeBlurIsHeldTo255Passes) {
  LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
  state.shadow.Blur = INT_MAX;
  Canvas canvas(200, 26, kFace);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 200, 26}, state);

  const SIZE size = Extent(font_.get(), state.caption);
  const LabelRect tr = TextRectFor({0, 0, 200, 26}, size.cx, size.cy, TextAlignment::kCenter,
                                   TextLayout::kCenter, ExtentsOf(state.shadow), 1);
  Canvas expected(200, 26, kFace);
  PaintExpectedShadow(expected, state, ToRect(tr), 255);
  EXPECT_TRUE(SamePixels(canvas, expected));
}

TEST_F(LabelPaint, PathLabelDrawsTheAmpersand) {
  const std::wstring caption = L"A&B";
  const RECT tr = FolderTextRect(200, 26, Extent(font_.get(), caption));
  Canvas asCharacter(200, 26, kFace);
  DrawReference(asCharacter, font_.get(), caption, tr, kFolderFlags | DT_NOPREFIX, kWhite);
  Canvas asAccelerator(200, 26, kFace);
  DrawReference(asAccelerator, font_.get(), caption, tr, kFolderFlags, kWhite);
  // The two ways of drawing must look different for this test to mean anything.
  ASSERT_NE(asCharacter.Where(kWhite), asAccelerator.Where(kWhite));

  Canvas path(200, 26, kFace);
  ASSERT_TRUE(path.ok());
  LabelFxPainter painter;
  painter.Paint(path.dc(), {0, 0, 200, 26}, FolderLabelState(caption, font_.get()));
  EXPECT_EQ(path.Where(kWhite), asCharacter.Where(kWhite));

  // Labels that are not paths keep the accelerator: "&" underlines the B.
  LabelFxState other = FolderLabelState(caption, font_.get());
  other.showAccelChar = true;
  Canvas label(200, 26, kFace);
  LabelFxPainter otherPainter;
  otherPainter.Paint(label.dc(), {0, 0, 200, 26}, other);
  EXPECT_EQ(label.Where(kWhite), asAccelerator.Where(kWhite));
}

TEST_F(LabelPaint, EmptyCaptionDrawsNothing) {
  for (bool transparent : {true, false}) {
    Canvas canvas(100, 26, kFace);
    ASSERT_TRUE(canvas.ok());
    LabelFxState state = FolderLabelState(L"", font_.get());
    state.transparent = transparent;
    state.color = kFace;
    LabelFxPainter painter;
    painter.Paint(canvas.dc(), {0, 0, 100, 26}, state);
    EXPECT_TRUE(SamePixels(canvas, Canvas(100, 26, kFace))) << transparent;
  }
}

TEST_F(LabelPaint, LabelWithoutAreaDrawsNothing) {
  const RECT rects[] = {{0, 0, 0, 26},
                        {0, 0, 100, 0},
                        {50, 10, 40, 20},
                        {0, 20, 100, 10},
                        {INT_MIN, INT_MIN, INT_MIN, INT_MIN}};
  for (const RECT& r : rects) {
    for (bool plain : {false, true}) {
      Canvas canvas(100, 26, kFace);
      ASSERT_TRUE(canvas.ok());
      LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
      state.plain = plain;
      LabelFxPainter painter;
      painter.Paint(canvas.dc(), r, state);
      EXPECT_TRUE(SamePixels(canvas, Canvas(100, 26, kFace)))
          << r.left << "," << r.top << "," << r.right << "," << r.bottom << " plain " << plain;
    }
  }
}

TEST_F(LabelPaint, NoBlurOrNoColourDrawsThePlainText) {
  struct Case {
    const char* name;
    TShadowData shadow;
  };
  const Case cases[] = {
      {"blur 0", {kClBlack, 0, 1, 255}},
      {"negative blur", {kClBlack, -3, 1, 255}},
      {"lowest blur", {kClBlack, INT_MIN, 1, 255}},
      {"no colour", {kClNone, 4, 1, 255}},
  };
  for (const Case& c : cases) {
    LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
    state.shadow = c.shadow;
    Canvas canvas(200, 26, kFace);
    ASSERT_TRUE(canvas.ok());
    LabelFxPainter painter;
    painter.Paint(canvas.dc(), {0, 0, 200, 26}, state);
    const SIZE size = Extent(font_.get(), state.caption);
    const LabelRect tr = TextRectFor({0, 0, 200, 26}, size.cx, size.cy, TextAlignment::kCenter,
                                     TextLayout::kCenter, ExtentsOf(c.shadow), c.shadow.Offset);
    Canvas expected(200, 26, kFace);
    DrawReference(expected, font_.get(), state.caption, ToRect(tr), kFolderFlags | DT_NOPREFIX,
                  kWhite);
    EXPECT_TRUE(SamePixels(canvas, expected)) << c.name;
    EXPECT_TRUE(painter.NeedInvalidate()) << c.name;
  }
}

TEST_F(LabelPaint, DisabledLabelIsEmbossedWithoutShadow) {
  LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
  state.enabled = false;
  Canvas canvas(200, 26, kFace);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 200, 26}, state);

  const RECT tr = FolderTextRect(200, 26, Extent(font_.get(), state.caption));
  Canvas expected(200, 26, kFace);
  DrawReference(expected, font_.get(), state.caption,
                {tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1}, kFolderFlags | DT_NOPREFIX,
                ::GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawReference(expected, font_.get(), state.caption, tr, kFolderFlags | DT_NOPREFIX,
                ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_TRUE(SamePixels(canvas, expected));
}

TEST_F(LabelPaint, OpaqueLabelBlendsOverItsOwnColour) {
  LabelFxState state = FolderLabelState(L"C:\\Work\\", font_.get());
  state.transparent = false;
  state.color = RGB(0, 200, 0);
  Canvas canvas(200, 26, RGB(255, 0, 0));
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 200, 26}, state);
  // Nothing of the red behind the label shows; 200 * 255 div 256 = 199.
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 199, 0));
  EXPECT_EQ(canvas.At(199, 25), RGB(0, 199, 0));
  EXPECT_GT(Count(canvas.Where(kWhite)), 20);
}

TEST_F(LabelPaint, TransparentLabelKeepsWhatLiesBehindItInPlace) {
  Canvas canvas(200, 26, RGB(200, 0, 0));
  canvas.FillRows(13, 26, RGB(0, 0, 200));
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 200, 26}, FolderLabelState(L"x", font_.get()));
  EXPECT_EQ(canvas.At(0, 0), RGB(199, 0, 0));
  EXPECT_EQ(canvas.At(199, 0), RGB(199, 0, 0));
  EXPECT_EQ(canvas.At(0, 25), RGB(0, 0, 199));
  EXPECT_EQ(canvas.At(199, 25), RGB(0, 0, 199));
}

TEST_F(LabelPaint, RotatedTextIsTurnedInsideItsBox) {
  for (int angle : {90, 30}) {
    LabelFxState state = FolderLabelState(L"Work", font_.get());
    state.angle = angle;
    Canvas canvas(100, 100, kFace);
    ASSERT_TRUE(canvas.ok());
    LabelFxPainter painter;
    painter.Paint(canvas.dc(), {0, 0, 100, 100}, state);

    const SIZE size = Extent(font_.get(), state.caption);
    const RotatedBox box = RotateTextBox(size.cx, size.cy, angle);
    const LabelRect tr = TextRectFor({0, 0, 100, 100}, box.width, box.height,
                                     TextAlignment::kCenter, TextLayout::kCenter, {-3, 5}, 1);
    LOGFONTW logFont{};
    ASSERT_NE(::GetObjectW(font_.get(), sizeof logFont, &logFont), 0);
    logFont.lfEscapement = logFont.lfOrientation = angle * 10;
    const platform::UniqueFont turned(::CreateFontIndirectW(&logFont));
    Canvas expected(100, 100, kFace);
    {
      ScopedSelect select(expected.dc(), turned.get());
      ::SetBkMode(expected.dc(), TRANSPARENT);
      ::SetTextColor(expected.dc(), kWhite);
      ::ExtTextOutW(expected.dc(), tr.left + box.dx, tr.top + box.dy, 0, nullptr,
                    state.caption.c_str(), static_cast<UINT>(state.caption.size()), nullptr);
    }
    const std::vector<int> text = canvas.Where(kWhite);
    EXPECT_GT(Count(text), 10) << angle;
    EXPECT_EQ(text, expected.Where(kWhite)) << angle;
  }
}

TEST_F(LabelPaint, WrappedTextIsMeasuredInTheLabelsWidth) {
  LabelFxState state = FolderLabelState(L"one two three four", font_.get());
  state.wordWrap = true;
  state.shadow.Blur = 0;
  Canvas canvas(60, 80, kFace);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 60, 80}, state);

  const UINT flags = DT_EXPANDTABS | DT_CENTER | DT_NOCLIP | DT_NOPREFIX | DT_WORDBREAK;
  RECT calc{0, 0, 60, 80};
  {
    platform::ScreenDC screen;
    ScopedSelect select(screen.get(), font_.get());
    ::DrawTextW(screen.get(), state.caption.c_str(), static_cast<int>(state.caption.size()), &calc,
                flags | DT_CALCRECT);
  }
  ASSERT_GT(calc.bottom, 13 * 2);  // more than one line
  const LabelRect tr = TextRectFor({0, 0, 60, 80}, calc.right, calc.bottom, TextAlignment::kCenter,
                                   TextLayout::kCenter, {0, 1}, 1);
  Canvas expected(60, 80, kFace);
  DrawReference(expected, font_.get(), state.caption, ToRect(tr), flags, kWhite);
  EXPECT_TRUE(SamePixels(canvas, expected));
}

TEST_F(LabelPaint, PlainLabelIsCentredByMeasuring) {
  LabelFxState state = FolderLabelState(L"Folder", font_.get());
  state.plain = true;
  state.fontColor = RGB(0, 0, 128);
  Canvas canvas(120, 40, kFace);
  ASSERT_TRUE(canvas.ok());
  LabelFxPainter painter;
  painter.Paint(canvas.dc(), {0, 0, 120, 40}, state);

  const UINT flags = DT_EXPANDTABS | DT_CENTER | DT_NOPREFIX;
  Canvas expected(120, 40, kFace);
  RECT calc{0, 0, 120, 40};
  {
    ScopedSelect select(expected.dc(), font_.get());
    ::DrawTextW(expected.dc(), state.caption.c_str(), static_cast<int>(state.caption.size()), &calc,
                flags | DT_CALCRECT);
  }
  const int shift = (40 - calc.bottom) / 2;
  DrawReference(expected, font_.get(), state.caption, {0, shift, 120, 40 + shift}, flags,
                RGB(0, 0, 128));
  EXPECT_TRUE(SamePixels(canvas, expected));
  EXPECT_EQ(Count(canvas.Where(kWhite)), 0);
}

TEST_F(LabelPaint, MeasuringLeavesTheEffectLabelsRectangle) {
  Canvas canvas(200, 26, kFace);
  LabelFxPainter painter;
  RECT rect{0, 0, 200, 26};
  painter.DoDrawText(canvas.dc(), rect, DT_EXPANDTABS | DT_CENTER | DT_CALCRECT,
                     FolderLabelState(L"C:\\Work\\", font_.get()));
  EXPECT_EQ(rect.right, 200);
  EXPECT_EQ(rect.bottom, 26);
  EXPECT_TRUE(SamePixels(canvas, Canvas(200, 26, kFace)));
}

}  // namespace
}  // namespace nestova::components
