#pragma once
// Window layout as a table written at 96 dpi: each control's rectangle in its
// parent's client area, and the parent edges it keeps its distance to when
// the parent is resized. Pure arithmetic, shared by every window.
#include <span>
#include <vector>

namespace nestova::ui {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorAll = 15,
};

enum class Align { kNone, kTop, kBottom };

inline constexpr int kDesignDpi = 96;
inline constexpr int kNoParent = -1;

struct LayoutItem {
  int parent;   // index of an earlier item, or kNoParent for the window
  Rect design;  // at 96 dpi, in the parent's client area
  unsigned anchors;
  Align align = Align::kNone;  // top/bottom: full parent width, stuck to that edge
};

// n * num / den (den > 0) rounded half away from zero, as the platform's MulDiv.
int MulDiv(int n, int num, int den);

int ScaleForDpi(int designPixels, int dpi);
Size ScaleForDpi(Size design, int dpi);
Rect ScaleForDpi(Rect design, int dpi);

// Where every item lies when the window's client area (designed as
// designClient at 96 dpi) is `client` pixels at `dpi`. Parents must come
// before their children. The result is indexed like `items`.
std::vector<Rect> ComputeLayout(std::span<const LayoutItem> items, Size designClient, int dpi,
                                Size client);

// An order to create the items' windows in so that, among siblings, later
// items lie above earlier ones: the system puts each new child below its
// siblings, so siblings are made last first. Parents come before their
// children. Throws std::logic_error for a child listed before its parent.
std::vector<int> CreationOrder(std::span<const LayoutItem> items);

}  // namespace nestova::ui
