#include "ui/layout.h"

#include <cstdint>
#include <stdexcept>

namespace nestova::ui {

int MulDiv(int n, int num, int den) {
  const int64_t product = int64_t{n} * num;
  return static_cast<int>((product >= 0 ? product + den / 2 : product - den / 2) / den);
}

int ScaleForDpi(int designPixels, int dpi) { return MulDiv(designPixels, dpi, kDesignDpi); }

Size ScaleForDpi(Size design, int dpi) {
  return {ScaleForDpi(design.width, dpi), ScaleForDpi(design.height, dpi)};
}

Rect ScaleForDpi(Rect design, int dpi) {
  return {ScaleForDpi(design.left, dpi), ScaleForDpi(design.top, dpi),
          ScaleForDpi(design.width, dpi), ScaleForDpi(design.height, dpi)};
}

namespace {

// One axis: the item's offset and extent once the parent grew by `growth`.
void Follow(int& offset, int& extent, int growth, bool nearEdge, bool farEdge) {
  if (nearEdge && farEdge) {
    extent += growth;
  } else if (farEdge) {
    offset += growth;
  } else if (!nearEdge) {
    offset += growth / 2;  // anchored to neither edge: keeps its relative place
  }
}

}  // namespace

std::vector<Rect> ComputeLayout(std::span<const LayoutItem> items, Size designClient, int dpi,
                                Size client) {
  std::vector<Rect> result;
  result.reserve(items.size());
  for (const LayoutItem& item : items) {
    if (item.parent >= static_cast<int>(result.size())) {
      throw std::logic_error("layout: a parent must come before its children");
    }
    const bool onWindow = item.parent == kNoParent;
    const Size parentDesign = ScaleForDpi(
        onWindow ? designClient
                 : Size{items[item.parent].design.width, items[item.parent].design.height},
        dpi);
    const Size parentNow =
        onWindow ? client : Size{result[item.parent].width, result[item.parent].height};

    Rect r = ScaleForDpi(item.design, dpi);
    switch (item.align) {
      case Align::kTop:
        r = {0, 0, parentNow.width, r.height};
        break;
      case Align::kBottom:
        r = {0, parentNow.height - r.height, parentNow.width, r.height};
        break;
      case Align::kNone:
        Follow(r.left, r.width, parentNow.width - parentDesign.width, item.anchors & kAnchorLeft,
               item.anchors & kAnchorRight);
        Follow(r.top, r.height, parentNow.height - parentDesign.height, item.anchors & kAnchorTop,
               item.anchors & kAnchorBottom);
        break;
    }
    result.push_back(r);
  }
  return result;
}

std::vector<int> CreationOrder(std::span<const LayoutItem> items) {
  // Depth in the tree first, then the table backwards.
  std::vector<int> depth;
  for (const LayoutItem& item : items) {
    if (item.parent >= static_cast<int>(depth.size()))
      throw std::logic_error("a layout item comes before its parent");
    depth.push_back(item.parent == kNoParent ? 0 : depth[item.parent] + 1);
  }
  std::vector<int> order;
  for (int level = 0; order.size() < items.size(); ++level) {
    for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i) {
      if (depth[i] == level) order.push_back(i);
    }
  }
  return order;
}

}  // namespace nestova::ui
