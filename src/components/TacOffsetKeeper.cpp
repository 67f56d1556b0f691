#include "components/TacOffsetKeeper.h"

#include <cstdint>

#include "components/saturate.h"

namespace nestova::components {

LabelBounds TacOffsetKeeper::AdjustBounds(const LabelBounds& bounds, ShadowExtents current,
                                          TextAlignment alignment, TextLayout layout) const {
  const std::int64_t keptLt = FLeftTop;
  const std::int64_t keptRb = FRightBottom;
  const std::int64_t lt = current.leftTop;
  const std::int64_t rb = current.rightBottom;
  // The text's own area without the old margins, then with the new ones.
  const std::int64_t innerWidth = bounds.width + keptLt - keptRb;
  const std::int64_t innerHeight = bounds.height + keptLt - keptRb;
  // A centred text stays put when the label grows by half the change on
  // each side; otherwise only the left/top margin moves the edge.
  const std::int64_t centredShift = -((keptLt - lt - keptRb + rb) / 2);
  const std::int64_t edgeShift = lt - keptLt;
  const std::int64_t dx = alignment == TextAlignment::kCenter ? centredShift : edgeShift;
  const std::int64_t dy = layout == TextLayout::kCenter ? centredShift : edgeShift;
  return {SaturateToInt(bounds.left + dx), SaturateToInt(bounds.top + dy),
          SaturateToInt(innerWidth + rb - lt), SaturateToInt(innerHeight + rb - lt)};
}

std::optional<LabelBounds> TacOffsetKeeper::UpdatePosition(const LabelBounds& bounds,
                                                           ShadowExtents current,
                                                           TextAlignment alignment,
                                                           TextLayout layout) {
  if (current == Extents()) return std::nullopt;
  const LabelBounds moved = AdjustBounds(bounds, current, alignment, layout);
  Take(current);
  return moved;
}

}  // namespace nestova::components
