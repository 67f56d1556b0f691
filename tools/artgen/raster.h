// A tiny float RGBA canvas with anti-aliased shape filling.
#pragma once

#include <functional>
#include <vector>

namespace artgen {

// Straight (non-premultiplied) colour, each channel in [0, 1].
struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

struct Vec2 {
  float x = 0, y = 0;
};

Vec2 operator+(Vec2 a, Vec2 b);
Vec2 operator-(Vec2 a, Vec2 b);
Vec2 operator*(Vec2 a, float s);
float Dot(Vec2 a, Vec2 b);
float Length(Vec2 v);

// Pixels are stored row by row, top row first; pixel (x, y) covers the
// square [x, x+1) x [y, y+1), so pixel centres sit at half coordinates.
struct Image {
  Image(int w, int h);
  Rgba& At(int x, int y);
  const Rgba& At(int x, int y) const;

  int width;
  int height;
  std::vector<Rgba> pixels;
};

Rgba Hex(unsigned rgb, float alpha = 1.0f);
Rgba Mix(Rgba from, Rgba to, float t);
Rgba WithAlpha(Rgba c, float alpha);

// Signed distance to a shape's outline in pixels: negative inside.
using Sdf = std::function<float(Vec2)>;
// Colour of a fill at a point, so fills can carry gradients.
using Paint = std::function<Rgba(Vec2)>;

Paint Solid(Rgba colour);
Paint LinearGradient(Vec2 from, Rgba fromColour, Vec2 to, Rgba toColour);

Sdf Circle(Vec2 centre, float radius);
Sdf Ring(Vec2 centre, float radius, float halfWidth);
Sdf Capsule(Vec2 a, Vec2 b, float radius);
Sdf Polyline(std::vector<Vec2> points, float radius);
Sdf RoundedRect(Vec2 topLeft, Vec2 bottomRight, float radius);
Sdf Polygon(std::vector<Vec2> points);
// A round-capped stroke along a circle from startAngle, turning by sweep
// radians (positive sweep turns clockwise on screen, since y points down).
Sdf Arc(Vec2 centre, float radius, float startAngle, float sweep, float halfWidth);

Sdf Union(Sdf a, Sdf b);
// Union that rounds the inner corners where the shapes meet.
Sdf SmoothUnion(Sdf a, Sdf b, float blend);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf from, Sdf cut);
// Positive amount grows the shape outwards, negative shrinks it.
Sdf Grow(Sdf shape, float amount);
Sdf Translate(Sdf shape, Vec2 offset);

// Porter-Duff "over" with straight alpha on both sides.
void CompositeOver(Rgba& dst, Rgba src);

// Fills a shape with samples x samples coverage tests per edge pixel.
void Fill(Image& image, const Sdf& shape, const Paint& paint, int samples = 16);
// Fills with a wide smooth falloff instead of a crisp edge, for shadows and glows.
void FillSoft(Image& image, const Sdf& shape, Rgba colour, float softness);

}  // namespace artgen
