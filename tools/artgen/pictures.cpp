#include "pictures.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace artgen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A glyph body with a darker rim around it, so a light or saturated shape
// still reads on a light-grey button face.
void FillWithRim(Image& image, const Sdf& body, float rimWidth, Rgba rim, const Paint& paint) {
    Fill(image, Grow(body, rimWidth), Solid(rim));
    Fill(image, body, paint);
}

Paint VerticalGradient(float top, Rgba topColour, float bottom, Rgba bottomColour) {
    return LinearGradient({0, top}, topColour, {0, bottom}, bottomColour);
}

// The app icon is drawn back to front: folder back with its tab, the papers
// inside, the front panel, then the badge that stands for a custom icon.

Sdf FolderFront() { return RoundedRect({10, 40}, {118, 108}, 6); }

void DrawFolderBack(Image& image) {
    const Sdf tab = Grow(Polygon({{13, 17}, {44, 17}, {52, 27}, {13, 27}}), 3);
    const Sdf back = SmoothUnion(RoundedRect({10, 24}, {118, 108}, 6), tab, 4);
    FillSoft(image, Translate(back, {0, 3}), Hex(0x000000, 0.28f), 5);
    Fill(image, back, Solid(Hex(0xB07818)));
    Fill(image, Grow(back, -1.25f), VerticalGradient(14, Hex(0xEDB443), 108, Hex(0xD4951F)));
}

void DrawSheet(Image& image, const Sdf& sheet, Rgba top, Rgba bottom) {
    Fill(image, sheet, Solid(Hex(0xCFC8B6)));
    Fill(image, Grow(sheet, -1), VerticalGradient(26, top, 60, bottom));
}

void DrawPapers(Image& image) {
    // The rear sheet leans a little so the two read as loose papers.
    const Sdf rear = Grow(Polygon({{22.0f, 31.5f}, {101.0f, 26.0f}, {104.5f, 76.0f}, {25.5f, 81.5f}}), 1.5f);
    DrawSheet(image, rear, Hex(0xF4F1E8), Hex(0xE2DCCC));
    DrawSheet(image, RoundedRect({20, 32}, {108, 80}, 2), Hex(0xFFFFFF), Hex(0xF2EFE6));
}

void DrawFolderFront(Image& image) {
    const Sdf front = FolderFront();
    const Sdf face = Grow(front, -1.25f);
    FillSoft(image, Translate(front, {0, -1}), Hex(0x000000, 0.18f), 2);
    Fill(image, front, Solid(Hex(0xBF8A1E)));
    Fill(image, face, VerticalGradient(40, Hex(0xFFE08A), 108, Hex(0xF3B836)));
    // A thin light band along the top edge makes the panel look lifted.
    const Sdf topBand = Subtract(Translate(front, {0, -3}), Translate(front, {0, -1.5f}));
    Fill(image, Intersect(face, topBand), Solid(Hex(0xFFF4CF, 0.8f)));
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

void DrawBadge(Image& image, Vec2 centre) {
    FillSoft(image, Circle(centre + Vec2{0, 2}, 22), Hex(0x000000, 0.3f), 4);
    Fill(image, Circle(centre, 22), Solid(Hex(0xFFFFFF)));
    Fill(image, Circle(centre, 18.5f),
         LinearGradient(centre - Vec2{12, 14}, Hex(0x5A9BFF), centre + Vec2{12, 14}, Hex(0x6A3FD8)));
    // The star sits a pixel low because its points make it look top-heavy.
    Fill(image, Grow(Polygon(StarPoints(centre + Vec2{0, 1}, 11.5f, 5.0f)), 0.6f), Solid(Hex(0xFFFFFF)));
}

}  // namespace

Image DrawApplyGlyph() {
    Image image(16, 16);
    const Sdf tick = Polyline({{3.2f, 8.3f}, {6.6f, 11.6f}, {12.8f, 4.6f}}, 1.1f);
    FillWithRim(image, tick, 0.7f, Hex(0x1E6B2A),
                VerticalGradient(4, Hex(0x5CCB5F), 13, Hex(0x2A9A3A)));
    return image;
}

Image DrawCancelGlyph() {
    Image image(16, 16);
    const Vec2 centre{8, 8};
    const Vec2 diagonal = Vec2{1, 1} * (1.0f / std::sqrt(2.0f));
    const float outer = 7.3f;
    const float rim = 0.6f;
    const float inner = 4.6f;
    const float barHalfWidth = 1.05f;
    const Paint red = VerticalGradient(1, Hex(0xF0564D), 15, Hex(0xC0221D));

    Fill(image, Circle(centre, outer), Solid(Hex(0x8E1512)));
    Fill(image, Circle(centre, outer - rim), red);
    // A white face keeps the sign readable on any button colour.
    Fill(image, Circle(centre, inner), VerticalGradient(3, Hex(0xFFFFFF), 13, Hex(0xF1F1F1)));
    Fill(image, Intersect(Capsule(centre - diagonal * outer, centre + diagonal * outer, barHalfWidth),
                          Circle(centre, inner + 0.5f)),
         red);
    return image;
}

Image DrawClearGlyph() {
    Image image(16, 16);
    // Stroke centres sit on pixel centres so the 1 px rim lines stay crisp.
    const float halfWidth = 0.5f;
    const Sdf head = Grow(Polygon({{2.5f, 5.5f}, {6.0f, 2.5f}, {6.0f, 8.5f}}), halfWidth);
    const Vec2 bend{9.5f, 9.5f};
    const float bendRadius = 4.0f;
    Sdf arrow = Union(head, Capsule({5.5f, 5.5f}, {9.5f, 5.5f}, halfWidth));
    arrow = Union(arrow, Arc(bend, bendRadius, -kPi / 2, kPi, halfWidth));
    arrow = Union(arrow, Capsule({9.5f, 13.5f}, {5.5f, 13.5f}, halfWidth));
    FillWithRim(image, arrow, 1.0f, Hex(0x858585),
                VerticalGradient(2, Hex(0xF4F4F4), 14, Hex(0xD2D2D2)));
    return image;
}

Image DrawAppIcon() {
    Image image(128, 128);
    DrawFolderBack(image);
    DrawPapers(image);
    DrawFolderFront(image);
    DrawBadge(image, {90, 82});
    return image;
}

}  // namespace artgen
