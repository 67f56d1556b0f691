#pragma once
// Where the effect label puts its text: the box of a rotated text, the text
// origin inside that box, and the text rectangle that leaves room for the
// shadow. Pure integer arithmetic; `div` truncates toward zero.
namespace nestova::components {

enum class TextAlignment { kLeft, kRight, kCenter };
enum class TextLayout { kTop, kCenter, kBottom };

// Edges as the platform's RECT.
struct LabelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const LabelRect&) const = default;
};

// How far the shadow reaches beyond the text: leftTop <= 0 to the left and
// above, rightBottom >= 0 to the right and below.
struct ShadowExtents {
  int leftTop = 0;
  int rightBottom = 0;
  bool operator==(const ShadowExtents&) const = default;
};

// A text of w x h turned by an angle: the box it needs (width, height) and
// where its origin lies inside that box (dx, dy).
struct RotatedBox {
  int width = 0;
  int height = 0;
  int dx = 0;
  int dy = 0;
  bool operator==(const RotatedBox&) const = default;
};

// The integer nearest to x, halves to the even neighbour; saturates at the
// int range (NaN gives 0).
int Nearest(double x);

// angleDegrees counter-clockwise; 0 gives the text's own box at (0, 0).
RotatedBox RotateTextBox(int w, int h, int angleDegrees);

// The rectangle of a text box of boxWidth x boxHeight inside `rect`, kept
// clear of the shadow's extents; centring adds the shadow's offset.
LabelRect TextRectFor(const LabelRect& rect, int boxWidth, int boxHeight, TextAlignment alignment,
                      TextLayout layout, ShadowExtents extents, int offset);

// Left and right swap when the control reads right to left.
TextAlignment MirroredForRightToLeft(TextAlignment alignment, bool rightToLeft);

}  // namespace nestova::components
