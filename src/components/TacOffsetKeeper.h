#pragma once
// Remembers the shadow extents a label's bounds were laid out for, so that
// when the extents change the label can grow or shrink around its text and
// the text stays where it was on the parent.
#include <optional>

#include "components/label_geometry.h"

namespace nestova::components {

struct LabelBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LabelBounds&) const = default;
};

class TacOffsetKeeper {
 public:
  int LeftTop() const { return FLeftTop; }
  void SetLeftTop(int value) { FLeftTop = value; }
  int RightBottom() const { return FRightBottom; }
  void SetRightBottom(int value) { FRightBottom = value; }
  ShadowExtents Extents() const { return {FLeftTop, FRightBottom}; }

  // The bounds of a label that is not auto-sized once the shadow reaches
  // `current` instead of the kept extents. `alignment` is the one in effect,
  // after right-to-left mirroring. The result saturates at the int range;
  // a width or height below 0 is the window's to clamp.
  LabelBounds AdjustBounds(const LabelBounds& bounds, ShadowExtents current,
                           TextAlignment alignment, TextLayout layout) const;

  // nullopt when the kept extents already equal `current`. Otherwise the
  // bounds the label moves to (while it ignores its own move notifications)
  // and the keeper now holds `current`.
  std::optional<LabelBounds> UpdatePosition(const LabelBounds& bounds, ShadowExtents current,
                                            TextAlignment alignment, TextLayout layout);

  // The label was moved or resized by something else: its bounds now belong
  // to the current extents.
  void Take(ShadowExtents current) {
    FLeftTop = current.leftTop;
    FRightBottom = current.rightBottom;
  }

 private:
  int FRightBottom = 0;
  int FLeftTop = 0;
};

}  // namespace nestova::components
