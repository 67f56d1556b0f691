#include "components/label_geometry.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "components/saturate.h"

namespace nestova::components {
namespace {

struct CosSin {
  double c;
  double s;
};

// Exact at the quarter turns, where a rounded cos or sin would tip the
// halfway cases of Nearest the wrong way.
CosSin CosSinOfDegrees(int angleDegrees) {
  int reduced = angleDegrees % 360;
  if (reduced < 0) reduced += 360;
  switch (reduced) {
    case 0:
      return {1, 0};
    case 90:
      return {0, 1};
    case 180:
      return {-1, 0};
    case 270:
      return {0, -1};
    default: {
      const double a = reduced * std::numbers::pi / 180;
      return {std::cos(a), std::sin(a)};
    }
  }
}

}  // namespace

int Nearest(double x) {
  if (std::isnan(x)) return 0;
  if (x >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (x <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  const double floor = std::floor(x);
  const double fraction = x - floor;
  std::int64_t result = static_cast<std::int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return SaturateToInt(result);
}

RotatedBox RotateTextBox(int w, int h, int angleDegrees) {
  if (angleDegrees == 0) return {w, h, 0, 0};
  const auto [c, s] = CosSinOfDegrees(angleDegrees);
  const double wd = w;
  const double hd = h;
  const std::int64_t boxWidth = Nearest(std::abs(c) * wd + std::abs(s) * hd);
  const std::int64_t boxHeight = Nearest(std::abs(s) * wd + std::abs(c) * hd);
  const std::int64_t dx = std::int64_t{Nearest((wd - c * wd - s * hd) / 2)} + (boxWidth - w) / 2;
  const std::int64_t dy = std::int64_t{Nearest(((1 - c) * hd + s * wd) / 2)} + (boxHeight - h) / 2;
  return {SaturateToInt(boxWidth), SaturateToInt(boxHeight), SaturateToInt(dx), SaturateToInt(dy)};
}

LabelRect TextRectFor(const LabelRect& rect, int boxWidth, int boxHeight, TextAlignment alignment,
                      TextLayout layout, ShadowExtents extents, int offset) {
  const std::int64_t lt = extents.leftTop;
  const std::int64_t rb = extents.rightBottom;
  std::int64_t left = 0;
  switch (alignment) {
    case TextAlignment::kLeft:
      left = rect.left - lt;
      break;
    case TextAlignment::kRight:
      left = std::int64_t{rect.right} - boxWidth - rb;
      break;
    case TextAlignment::kCenter:
      left = (std::int64_t{rect.right} - boxWidth - rb - lt) / 2 + offset;
      break;
  }
  std::int64_t top = 0;
  switch (layout) {
    case TextLayout::kTop:
      top = rect.top - lt;
      break;
    case TextLayout::kBottom:
      top = std::int64_t{rect.bottom} - boxHeight - rb;
      break;
    case TextLayout::kCenter:
      top = (std::int64_t{rect.bottom} - boxHeight - rb - lt) / 2 + offset;
      break;
  }
  return {SaturateToInt(left), SaturateToInt(top), SaturateToInt(left + boxWidth),
          SaturateToInt(top + boxHeight)};
}

TextAlignment MirroredForRightToLeft(TextAlignment alignment, bool rightToLeft) {
  if (!rightToLeft) return alignment;
  switch (alignment) {
    case TextAlignment::kLeft:
      return TextAlignment::kRight;
    case TextAlignment::kRight:
      return TextAlignment::kLeft;
    case TextAlignment::kCenter:
      break;
  }
  return alignment;
}

}  // namespace nestova::components
