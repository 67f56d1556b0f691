#include "raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace artgen {

Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
float Length(Vec2 v) { return std::sqrt(Dot(v, v)); }

Image::Image(int w, int h) : width(w), height(h) {
  if (w <= 0 || h <= 0) throw std::invalid_argument("image size must be positive");
  pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
}

Rgba& Image::At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
const Rgba& Image::At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

Rgba Hex(unsigned rgb, float alpha) {
  auto channel = [rgb](int shift) { return static_cast<float>((rgb >> shift) & 0xFFu) / 255.0f; };
  return {channel(16), channel(8), channel(0), alpha};
}

Rgba Mix(Rgba from, Rgba to, float t) {
  auto lerp = [t](float a, float b) { return a + (b - a) * t; };
  return {lerp(from.r, to.r), lerp(from.g, to.g), lerp(from.b, to.b), lerp(from.a, to.a)};
}

Rgba WithAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }

Paint Solid(Rgba colour) {
  return [colour](Vec2) { return colour; };
}

Paint LinearGradient(Vec2 from, Rgba fromColour, Vec2 to, Rgba toColour) {
  const Vec2 axis = to - from;
  const float lengthSquared = Dot(axis, axis);
  return [=](Vec2 p) {
    const float t = lengthSquared > 0 ? Dot(p - from, axis) / lengthSquared : 0.0f;
    return Mix(fromColour, toColour, std::clamp(t, 0.0f, 1.0f));
  };
}

Sdf Circle(Vec2 centre, float radius) {
  return [=](Vec2 p) { return Length(p - centre) - radius; };
}

Sdf Ring(Vec2 centre, float radius, float halfWidth) {
  return [=](Vec2 p) { return std::abs(Length(p - centre) - radius) - halfWidth; };
}

static float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const float lengthSquared = Dot(ab, ab);
  const float t = lengthSquared > 0 ? std::clamp(Dot(p - a, ab) / lengthSquared, 0.0f, 1.0f) : 0.0f;
  return Length(p - (a + ab * t));
}

Sdf Capsule(Vec2 a, Vec2 b, float radius) {
  return [=](Vec2 p) { return SegmentDistance(p, a, b) - radius; };
}

Sdf Polyline(std::vector<Vec2> points, float radius) {
  if (points.size() < 2) throw std::invalid_argument("a polyline needs two points");
  return [points = std::move(points), radius](Vec2 p) {
    float best = SegmentDistance(p, points[0], points[1]);
    for (size_t i = 2; i < points.size(); ++i)
      best = std::min(best, SegmentDistance(p, points[i - 1], points[i]));
    return best - radius;
  };
}

Sdf RoundedRect(Vec2 topLeft, Vec2 bottomRight, float radius) {
  const Vec2 centre = (topLeft + bottomRight) * 0.5f;
  const Vec2 inner = (bottomRight - topLeft) * 0.5f - Vec2{radius, radius};
  return [=](Vec2 p) {
    const Vec2 q{std::abs(p.x - centre.x) - inner.x, std::abs(p.y - centre.y) - inner.y};
    const float outside = Length({std::max(q.x, 0.0f), std::max(q.y, 0.0f)});
    const float inside = std::min(std::max(q.x, q.y), 0.0f);
    return outside + inside - radius;
  };
}

Sdf Polygon(std::vector<Vec2> points) {
  if (points.size() < 3) throw std::invalid_argument("a polygon needs three points");
  return [points = std::move(points)](Vec2 p) {
    float nearest = Dot(p - points[0], p - points[0]);
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Vec2 a = points[j];
      const Vec2 b = points[i];
      const float d = SegmentDistance(p, a, b);
      nearest = std::min(nearest, d * d);
      // Even-odd crossing test along a horizontal ray.
      if ((b.y > p.y) != (a.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y))
        inside = !inside;
    }
    const float distance = std::sqrt(nearest);
    return inside ? -distance : distance;
  };
}

Sdf Arc(Vec2 centre, float radius, float startAngle, float sweep, float halfWidth) {
  constexpr float kTurn = 2.0f * std::numbers::pi_v<float>;
  if (sweep < 0) {
    startAngle += sweep;
    sweep = -sweep;
  }
  const Vec2 start = centre + Vec2{std::cos(startAngle), std::sin(startAngle)} * radius;
  const float endAngle = startAngle + sweep;
  const Vec2 end = centre + Vec2{std::cos(endAngle), std::sin(endAngle)} * radius;
  return [=](Vec2 p) {
    const Vec2 offset = p - centre;
    float turned = std::fmod(std::atan2(offset.y, offset.x) - startAngle, kTurn);
    if (turned < 0) turned += kTurn;
    if (turned <= sweep) return std::abs(Length(offset) - radius) - halfWidth;
    // Outside the swept angle the nearest outline point is a round cap.
    return std::min(Length(p - start), Length(p - end)) - halfWidth;
  };
}

Sdf Union(Sdf a, Sdf b) {
  return [a = std::move(a), b = std::move(b)](Vec2 p) { return std::min(a(p), b(p)); };
}

Sdf SmoothUnion(Sdf a, Sdf b, float blend) {
  return [a = std::move(a), b = std::move(b), blend](Vec2 p) {
    const float da = a(p);
    const float db = b(p);
    const float h = std::max(blend - std::abs(da - db), 0.0f) / blend;
    return std::min(da, db) - h * h * blend * 0.25f;
  };
}

Sdf Intersect(Sdf a, Sdf b) {
  return [a = std::move(a), b = std::move(b)](Vec2 p) { return std::max(a(p), b(p)); };
}

Sdf Subtract(Sdf from, Sdf cut) {
  return
      [from = std::move(from), cut = std::move(cut)](Vec2 p) { return std::max(from(p), -cut(p)); };
}

Sdf Grow(Sdf shape, float amount) {
  return [shape = std::move(shape), amount](Vec2 p) { return shape(p) - amount; };
}

Sdf Translate(Sdf shape, Vec2 offset) {
  return [shape = std::move(shape), offset](Vec2 p) { return shape(p - offset); };
}

void CompositeOver(Rgba& dst, Rgba src) {
  const float keep = dst.a * (1.0f - src.a);
  const float alpha = src.a + keep;
  if (alpha <= 0.0f) {
    dst = {};
    return;
  }
  dst.r = (src.r * src.a + dst.r * keep) / alpha;
  dst.g = (src.g * src.a + dst.g * keep) / alpha;
  dst.b = (src.b * src.a + dst.b * keep) / alpha;
  dst.a = alpha;
}

// Averages the paint over the samples that fall inside the shape, so an edge
// pixel gets both the right coverage and the right gradient colour.
static Rgba SamplePixel(const Sdf& shape, const Paint& paint, int x, int y, int samples) {
  float r = 0, g = 0, b = 0, a = 0;
  const float step = 1.0f / static_cast<float>(samples);
  for (int sy = 0; sy < samples; ++sy) {
    for (int sx = 0; sx < samples; ++sx) {
      const Vec2 p{x + (sx + 0.5f) * step, y + (sy + 0.5f) * step};
      if (shape(p) >= 0.0f) continue;
      const Rgba c = paint(p);
      r += c.r * c.a;
      g += c.g * c.a;
      b += c.b * c.a;
      a += c.a;
    }
  }
  if (a <= 0.0f) return {};
  return {r / a, g / a, b / a, a * step * step};
}

void Fill(Image& image, const Sdf& shape, const Paint& paint, int samples) {
  // Beyond this distance from the outline a pixel is wholly in or out; the
  // margin over half a diagonal allows for the inexact blended distances.
  constexpr float kSure = 1.0f;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Vec2 centre{x + 0.5f, y + 0.5f};
      const float d = shape(centre);
      if (d > kSure) continue;
      const Rgba src = d < -kSure ? paint(centre) : SamplePixel(shape, paint, x, y, samples);
      if (src.a > 0.0f) CompositeOver(image.At(x, y), src);
    }
  }
}

void FillSoft(Image& image, const Sdf& shape, Rgba colour, float softness) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const float d = shape({x + 0.5f, y + 0.5f});
      const float t = std::clamp((d + softness) / (2.0f * softness), 0.0f, 1.0f);
      const float falloff = 1.0f - t * t * (3.0f - 2.0f * t);
      if (falloff > 0.0f) CompositeOver(image.At(x, y), WithAlpha(colour, colour.a * falloff));
    }
  }
}

}  // namespace artgen
