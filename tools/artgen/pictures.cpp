#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace artgen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

template <size_t N>
void RequireSize(const int (&sizes)[N], int size, const char* message) {
  if (std::find(std::begin(sizes), std::end(sizes), size) == std::end(sizes))
    throw std::invalid_argument(message);
}

// Glyph coordinates below are in 16 px units; this maps them to the size drawn.
float GlyphScale(int size) {
  RequireSize(kGlyphSizes, size, "glyphs are drawn at 16, 20, 24 or 32 pixels");
  return static_cast<float>(size) / 16.0f;
}

// A glyph body with a darker rim around it, so a light or saturated shape
// still reads on a light-grey button face.
void FillWithRim(Image& image, const Sdf& body, float rimWidth, Rgba rim, const Paint& paint) {
  Fill(image, Grow(body, rimWidth), Solid(rim));
  Fill(image, body, paint);
}

Paint VerticalGradient(float top, Rgba topColour, float bottom, Rgba bottomColour) {
  return LinearGradient({0, top}, topColour, {0, bottom}, bottomColour);
}

// The return arrow is made of straight horizontal strokes, which only look
// crisp when their edges fall on pixel boundaries, so each size has its own
// grid-fitted copy of the design rather than a plain scaled one.
struct ArrowFit {
  int size;
  float halfWidth;  // of the light body
  float rim;        // the darker outline around it
  float tipX;       // the head points left from (tipX, top of the bend)
  float headBackX;
  float headHalfHeight;
  float tailX;  // where the lower stroke ends on the left
  Vec2 bend;    // centre of the half circle joining the two strokes
  float bendRadius;
};

// Stroke centres sit on pixel centres when body plus rims is an odd number
// of pixels wide and on pixel boundaries when it is even. Rims stay 1 px
// until 32 px, where doubling every 16 px stroke keeps the glyph's weight.
// The 16 px row is the hand-placed design the others are fitted from.
constexpr ArrowFit kArrowFits[] = {
    {16, 0.5f, 1.0f, 2.5f, 6.0f, 3.0f, 5.5f, {9.5f, 9.5f}, 4.0f},
    {20, 1.0f, 1.0f, 3.0f, 7.0f, 4.0f, 7.0f, {12.0f, 12.0f}, 5.0f},
    {24, 1.5f, 1.0f, 3.5f, 8.5f, 4.5f, 8.5f, {14.5f, 14.5f}, 6.0f},
    {32, 1.0f, 2.0f, 5.0f, 12.0f, 6.0f, 11.0f, {19.0f, 19.0f}, 8.0f},
};

const ArrowFit& FitArrow(int size) {
  const auto* fit = std::find_if(std::begin(kArrowFits), std::end(kArrowFits),
                                 [size](const ArrowFit& row) { return row.size == size; });
  if (fit == std::end(kArrowFits))
    throw std::invalid_argument("the arrow has no fitting for this size");
  return *fit;
}

// The app icon is drawn back to front: folder back with its tab, the papers
// inside, the front panel, then the badge that stands for a custom icon.
// Coordinates are in 128 px units.

// Where the app icon's parts land at one size. Edges are rounded to whole
// pixels so small icons stay crisp; at 128 px they are the design itself.
struct IconFit {
  float scale;
  float left, right;  // mirrored, so the folder stays centred
  float tabTop, backTop, frontTop, bottom;
  float corner;  // radius, kept round enough to see at small sizes
  float rim;     // outline width, never fainter than a pixel
  bool papers;   // only a sliver of them would show at small sizes
  bool shadows;  // soft shadows only smudge small icons
  float star;    // relative size of the badge's star: larger where it would
                 // blur to a dot, left out where even that cannot help
};

IconFit FitIcon(int size) {
  RequireSize(kAppIconSizes, size, "the app icon is drawn at 16, 24, 32, 48, 64 or 128 pixels");
  const float k = static_cast<float>(size) / 128.0f;
  const auto snap = [k](float design) { return std::round(design * k); };
  IconFit fit{};
  fit.scale = k;
  fit.left = snap(10);
  fit.right = static_cast<float>(size) - fit.left;
  fit.tabTop = snap(14);
  fit.corner = std::max(6 * k, 1.5f);
  fit.rim = std::max(1.25f * k, 1.0f);
  // Each band must fit a rim and some face, or small sizes lose the tab.
  fit.backTop = std::max(snap(24), fit.tabTop + 2 * fit.rim);
  fit.frontTop = std::max(snap(40), fit.backTop + 2 * fit.rim);
  fit.bottom = snap(108);
  fit.papers = size >= 32;
  fit.shadows = size >= 48;
  fit.star = size <= 16 ? 0.0f : size <= 24 ? 1.3f : 1.0f;
  return fit;
}

Sdf FolderFront(const IconFit& fit) {
  return RoundedRect({fit.left, fit.frontTop}, {fit.right, fit.bottom}, fit.corner);
}

void DrawFolderBack(Image& image, const IconFit& fit) {
  const float k = fit.scale;
  // The tab is a slanted polygon grown round; its outline starts flush
  // with the folder's left edge and top of the tab. It reaches below the
  // body's rounded corner so the shared left edge has no notch.
  const float grow = 3 * k;
  const float inset = fit.left + grow;
  const float top = fit.tabTop + grow;
  const float slopeEnd = fit.backTop + grow;
  const float base = fit.backTop + fit.corner;
  const Sdf tab = Grow(
      Polygon({{inset, top}, {44 * k, top}, {52 * k, slopeEnd}, {52 * k, base}, {inset, base}}),
      grow);
  const Sdf body = RoundedRect({fit.left, fit.backTop}, {fit.right, fit.bottom}, fit.corner);
  // Blending rounds the hollow corner after the tab's slope; it would also
  // bulge the left edge the tab and body share, so it stops short of that.
  const Sdf rightOfTabTop = [x = 44 * k](Vec2 p) { return x - p.x; };
  const Sdf back = Union(Union(body, tab), Intersect(SmoothUnion(body, tab, 4 * k), rightOfTabTop));
  if (fit.shadows) FillSoft(image, Translate(back, {0, 3 * k}), Hex(0x000000, 0.28f), 5 * k);
  Fill(image, back, Solid(Hex(0xB07818)));
  Fill(image, Grow(back, -fit.rim),
       VerticalGradient(14 * k, Hex(0xEDB443), 108 * k, Hex(0xD4951F)));
}

void DrawSheet(Image& image, const Sdf& sheet, float border, float scale, Rgba top, Rgba bottom) {
  Fill(image, sheet, Solid(Hex(0xCFC8B6)));
  Fill(image, Grow(sheet, -border), VerticalGradient(26 * scale, top, 60 * scale, bottom));
}

void DrawPapers(Image& image, const IconFit& fit) {
  const float k = fit.scale;
  // A thinner border than a pixel keeps a narrow strip of paper white.
  const float border = std::max(k, 0.5f);
  // The rear sheet leans a little so the two read as loose papers.
  const std::vector<Vec2> corners = {
      {22.0f, 31.5f}, {101.0f, 26.0f}, {104.5f, 76.0f}, {25.5f, 81.5f}};
  std::vector<Vec2> rear;
  rear.reserve(corners.size());
  for (const Vec2& corner : corners) rear.push_back(corner * k);
  DrawSheet(image, Grow(Polygon(rear), 1.5f * k), border, k, Hex(0xF4F1E8), Hex(0xE2DCCC));
  DrawSheet(image, RoundedRect(Vec2{20, 32} * k, Vec2{108, 80} * k, 2 * k), border, k,
            Hex(0xFFFFFF), Hex(0xF2EFE6));
}

void DrawFolderFront(Image& image, const IconFit& fit) {
  const float k = fit.scale;
  const Sdf front = FolderFront(fit);
  const Sdf face = Grow(front, -fit.rim);
  if (fit.shadows) FillSoft(image, Translate(front, {0, -k}), Hex(0x000000, 0.18f), 2 * k);
  Fill(image, front, Solid(Hex(0xBF8A1E)));
  Fill(image, face, VerticalGradient(40 * k, Hex(0xFFE08A), 108 * k, Hex(0xF3B836)));
  // A thin light band along the top edge makes the panel look lifted.
  const float band = std::max(1.5f * k, 1.0f);
  Fill(image, Subtract(face, Translate(face, {0, band})), Solid(Hex(0xFFF4CF, 0.8f)));
}

std::vector<Vec2> StarPoints(Vec2 centre, float outerRadius, float innerRadius) {
  std::vector<Vec2> points;
  for (int i = 0; i < 10; ++i) {
    const float angle = -kPi / 2 + static_cast<float>(i) * kPi / 5;
    const float radius = i % 2 == 0 ? outerRadius : innerRadius;
    points.push_back(centre + Vec2{std::cos(angle), std::sin(angle)} * radius);
  }
  return points;
}

// Up to 1.5 px larger than plain scaling, so the badge still reads at 16 px,
// and whole pixels wide so it sits on the grid. Below 128 px an odd width
// puts the star's top point on a pixel centre.
float BadgeRadius(const IconFit& fit) {
  const float k = fit.scale;
  const float plain = 22 * k + 1.5f * (1 - k);
  const bool oddWidth = fit.star > 0 && k < 1;
  return oddWidth ? std::floor(plain) + 0.5f : std::round(plain);
}

void DrawBadge(Image& image, const IconFit& fit) {
  const float k = fit.scale;
  const float radius = BadgeRadius(fit);
  // Tucked into the folder's bottom-right corner; small sizes have no room
  // to spare for the gap.
  const Vec2 centre{fit.right - std::floor(6 * k) - radius,
                    fit.bottom - std::floor(4 * k) - radius};
  const float s = radius / 22;  // the badge's own scale
  const float ring = std::max(3.5f * s, 1.0f);
  if (fit.shadows)
    FillSoft(image, Circle(centre + Vec2{0, 2 * k}, radius), Hex(0x000000, 0.3f), 4 * k);
  Fill(image, Circle(centre, radius), Solid(Hex(0xFFFFFF)));
  Fill(image, Circle(centre, radius - ring),
       LinearGradient(centre - Vec2{12, 14} * s, Hex(0x5A9BFF), centre + Vec2{12, 14} * s,
                      Hex(0x6A3FD8)));
  if (fit.star <= 0) return;
  // The star sits a little low because its points make it look top-heavy.
  const float star = s * fit.star;
  Fill(image, Grow(Polygon(StarPoints(centre + Vec2{0, s}, 11.5f * star, 5.0f * star)), 0.6f * s),
       Solid(Hex(0xFFFFFF)));
}

}  // namespace

Image DrawApplyGlyph(int size) {
  const float k = GlyphScale(size);
  Image image(size, size);
  const Sdf tick =
      Polyline({Vec2{3.2f, 8.3f} * k, Vec2{6.6f, 11.6f} * k, Vec2{12.8f, 4.6f} * k}, 1.1f * k);
  FillWithRim(image, tick, 0.7f * k, Hex(0x1E6B2A),
              VerticalGradient(4 * k, Hex(0x5CCB5F), 13 * k, Hex(0x2A9A3A)));
  return image;
}

Image DrawCancelGlyph(int size) {
  const float k = GlyphScale(size);
  Image image(size, size);
  const Vec2 centre = Vec2{8, 8} * k;
  const Vec2 diagonal = Vec2{1, 1} * (1.0f / std::sqrt(2.0f));
  const float outer = 7.3f * k;
  const float rim = 0.6f * k;
  const float inner = 4.6f * k;
  const float barHalfWidth = 1.05f * k;
  const Paint red = VerticalGradient(1 * k, Hex(0xF0564D), 15 * k, Hex(0xC0221D));

  Fill(image, Circle(centre, outer), Solid(Hex(0x8E1512)));
  Fill(image, Circle(centre, outer - rim), red);
  // A white face keeps the sign readable on any button colour.
  Fill(image, Circle(centre, inner), VerticalGradient(3 * k, Hex(0xFFFFFF), 13 * k, Hex(0xF1F1F1)));
  Fill(image,
       Intersect(Capsule(centre - diagonal * outer, centre + diagonal * outer, barHalfWidth),
                 Circle(centre, inner + 0.5f * k)),
       red);
  return image;
}

Image DrawClearGlyph(int size) {
  const float k = GlyphScale(size);
  const ArrowFit& fit = FitArrow(size);
  Image image(size, size);
  const float w = fit.halfWidth;
  const float top = fit.bend.y - fit.bendRadius;
  const float bottom = fit.bend.y + fit.bendRadius;
  const Sdf head = Grow(Polygon({{fit.tipX, top},
                                 {fit.headBackX, top - fit.headHalfHeight},
                                 {fit.headBackX, top + fit.headHalfHeight}}),
                        w);
  Sdf arrow = Union(head, Capsule({fit.tailX, top}, {fit.bend.x, top}, w));
  arrow = Union(arrow, Arc(fit.bend, fit.bendRadius, -kPi / 2, kPi, w));
  arrow = Union(arrow, Capsule({fit.bend.x, bottom}, {fit.tailX, bottom}, w));
  FillWithRim(image, arrow, fit.rim, Hex(0x858585),
              VerticalGradient(2 * k, Hex(0xF4F4F4), 14 * k, Hex(0xD2D2D2)));
  return image;
}

Image DrawAppIcon(int size) {
  const IconFit fit = FitIcon(size);
  Image image(size, size);
  DrawFolderBack(image, fit);
  if (fit.papers) DrawPapers(image, fit);
  DrawFolderFront(image, fit);
  DrawBadge(image, fit);
  return image;
}

}  // namespace artgen
