#include "collections.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "ico.h"

namespace samplegen {
namespace {

std::filesystem::path Utf8Path(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

using artgen::Fill;
using artgen::Hex;
using artgen::Image;
using artgen::Rgba;
using artgen::Sdf;
using artgen::Vec2;

constexpr float kPi = std::numbers::pi_v<float>;

Rgba Darker(Rgba c, float t) { return artgen::Mix(c, Hex(0x000000), t); }
Rgba Lighter(Rgba c, float t) { return artgen::Mix(c, Hex(0xFFFFFF), t); }

artgen::Paint Vertical(float top, Rgba topColour, float bottom, Rgba bottomColour) {
  return artgen::LinearGradient({0, top}, topColour, {0, bottom}, bottomColour);
}

// Design coordinates are in 256 px units; k maps them to the size drawn.
// The outline never gets thinner than a pixel, or small icons lose their edge.
void DrawFolder(Image& image, Rgba colour) {
  const float k = static_cast<float>(image.width) / 256.0f;
  const float rim = std::max(3.0f * k, 1.0f);
  const float corner = std::max(14 * k, 1.5f);
  const float left = std::round(16 * k), right = static_cast<float>(image.width) - left;
  const float tabTop = std::round(36 * k), backTop = std::max(std::round(60 * k), tabTop + 2 * rim);
  const float frontTop = std::max(std::round(92 * k), backTop + 2 * rim);
  const float bottom = std::round(220 * k);

  const Sdf tab = artgen::RoundedRect({left, tabTop}, {112 * k, backTop + corner}, corner);
  const Sdf back = artgen::SmoothUnion(
      artgen::RoundedRect({left, backTop}, {right, bottom}, corner), tab, 6 * k);
  if (image.width >= 48)
    artgen::FillSoft(image, artgen::Translate(back, {0, 6 * k}), Hex(0x000000, 0.25f), 8 * k);
  Fill(image, back, artgen::Solid(Darker(colour, 0.45f)));
  Fill(image, artgen::Grow(back, -rim),
       Vertical(tabTop, Darker(colour, 0.1f), bottom, Darker(colour, 0.3f)));

  if (image.width >= 32) {
    const Sdf paper = artgen::RoundedRect(Vec2{40, 74} * k, Vec2{216, 170} * k, 4 * k);
    Fill(image, paper, artgen::Solid(Hex(0xCFC8B6)));
    Fill(image, artgen::Grow(paper, -std::max(k, 0.5f)), artgen::Solid(Hex(0xFBFAF6)));
  }

  const Sdf front = artgen::RoundedRect({left, frontTop}, {right, bottom}, corner);
  Fill(image, front, artgen::Solid(Darker(colour, 0.35f)));
  Fill(image, artgen::Grow(front, -rim),
       Vertical(frontTop, Lighter(colour, 0.35f), bottom, colour));
}

std::vector<Vec2> StarPoints(Vec2 centre, float outer, float inner) {
  std::vector<Vec2> points;
  for (int i = 0; i < 10; ++i) {
    const float angle = -kPi / 2 + static_cast<float>(i) * kPi / 5;
    points.push_back(centre + Vec2{std::cos(angle), std::sin(angle)} * (i % 2 ? inner : outer));
  }
  return points;
}

// A mark is a shape in a 100-unit square centred on (0, 0), drawn in white
// on a coloured disc in the folder's lower right corner.
using MarkShape = std::function<Sdf(float unit, Vec2 c)>;

struct Mark {
  const char* fileName;
  unsigned disc;
  MarkShape shape;
};

Sdf Stroke(Vec2 c, float u, std::vector<Vec2> points, float halfWidth) {
  for (Vec2& p : points) p = c + p * u;
  return artgen::Polyline(std::move(points), halfWidth * u);
}

const std::vector<Mark>& Marks() {
  static const std::vector<Mark> marks = {
      {"Звезда.ico", 0xF2A900,
       [](float u, Vec2 c) { return artgen::Polygon(StarPoints(c, 36 * u, 15 * u)); }},
      {"Галочка.ico", 0x2E9B3E,
       [](float u, Vec2 c) {
         return Stroke(c, u, {{-24, 2}, {-7, 19}, {25, -17}}, 8);
       }},
      {"Крестик.ico", 0xD33A2C,
       [](float u, Vec2 c) {
         return artgen::Union(Stroke(c, u, {{-18, -18}, {18, 18}}, 8),
                              Stroke(c, u, {{18, -18}, {-18, 18}}, 8));
       }},
      {"Плюс.ico", 0x2F7DD1,
       [](float u, Vec2 c) {
         return artgen::Union(Stroke(c, u, {{0, -24}, {0, 24}}, 8),
                              Stroke(c, u, {{-24, 0}, {24, 0}}, 8));
       }},
      {"Сердце.ico", 0xE0457B,
       [](float u, Vec2 c) {
         const Sdf lobes = artgen::Union(artgen::Circle(c + Vec2{-12, -8} * u, 14 * u),
                                         artgen::Circle(c + Vec2{12, -8} * u, 14 * u));
         return artgen::Union(lobes, artgen::Polygon({c + Vec2{-25, -2} * u, c + Vec2{25, -2} * u,
                                                      c + Vec2{0, 28} * u}));
       }},
      {"Стрелка вверх.ico", 0x1F9C8F,
       [](float u, Vec2 c) {
         return artgen::Union(
             artgen::Polygon({c + Vec2{0, -28} * u, c + Vec2{24, 0} * u, c + Vec2{-24, 0} * u}),
             Stroke(c, u, {{0, -4}, {0, 24}}, 8));
       }},
      {"Стрелка вниз.ico", 0x6A4BC4,
       [](float u, Vec2 c) {
         return artgen::Union(
             artgen::Polygon({c + Vec2{0, 28} * u, c + Vec2{-24, 0} * u, c + Vec2{24, 0} * u}),
             Stroke(c, u, {{0, 4}, {0, -24}}, 8));
       }},
      {"Внимание.ico", 0xE8731A,
       [](float u, Vec2 c) {
         return artgen::Union(Stroke(c, u, {{0, -24}, {0, 6}}, 7),
                              artgen::Circle(c + Vec2{0, 22} * u, 7.5f * u));
       }},
      {"Молния.ico", 0xC9A100,
       [](float u, Vec2 c) {
         return artgen::Polygon({c + Vec2{6, -30} * u, c + Vec2{-18, 4} * u, c + Vec2{-2, 4} * u,
                                 c + Vec2{-8, 30} * u, c + Vec2{18, -6} * u, c + Vec2{2, -6} * u});
       }},
      {"Часы.ico", 0x56606B,
       [](float u, Vec2 c) {
         return artgen::Union(artgen::Ring(c, 24 * u, 5 * u),
                              Stroke(c, u, {{0, -14}, {0, 0}, {10, 8}}, 5));
       }},
      {"Точка.ico", 0x3C8C2F, [](float u, Vec2 c) { return artgen::Circle(c, 15 * u); }},
      {"Минус.ico", 0x8A4B2A,
       [](float u, Vec2 c) {
         return Stroke(c, u, {{-24, 0}, {24, 0}}, 8);
       }},
  };
  return marks;
}

void DrawMark(Image& image, const Mark& mark) {
  const float k = static_cast<float>(image.width) / 256.0f;
  // At 16 px the disc has to fill most of the folder's front to read at all.
  const float radius = image.width <= 16 ? 5.0f : image.width <= 24 ? 7.0f : 60 * k;
  const Vec2 centre{static_cast<float>(image.width) - radius - std::floor(8 * k),
                    static_cast<float>(image.height) - radius - std::floor(8 * k)};
  const float ring = std::max(6 * k, 1.0f);
  if (image.width >= 48)
    artgen::FillSoft(image, artgen::Circle(centre + Vec2{0, 4 * k}, radius), Hex(0x000000, 0.3f),
                     6 * k);
  Fill(image, artgen::Circle(centre, radius), artgen::Solid(Hex(0xFFFFFF)));
  const Rgba disc = Hex(mark.disc);
  Fill(image, artgen::Circle(centre, radius - ring),
       Vertical(centre.y - radius, Lighter(disc, 0.2f), centre.y + radius, Darker(disc, 0.15f)));
  const float unit = (radius - ring) / 50.0f;
  Fill(image, mark.shape(unit, centre), artgen::Solid(Hex(0xFFFFFF)));
}

struct Colour {
  const char* fileName;
  unsigned rgb;
};

constexpr Colour kColours[] = {
    {"Красная.ico", 0xE53935},   {"Оранжевая.ico", 0xFB8C00},  {"Жёлтая.ico", 0xF6C431},
    {"Салатовая.ico", 0x9CCC3C}, {"Зелёная.ico", 0x43A047},    {"Бирюзовая.ico", 0x26A69A},
    {"Голубая.ico", 0x4FC3F7},   {"Синяя.ico", 0x3F6FD8},      {"Фиолетовая.ico", 0x8E5BD0},
    {"Розовая.ico", 0xF06292},   {"Коричневая.ico", 0x8D6E63}, {"Серая.ico", 0x9AA3AB},
};

constexpr unsigned kManila = 0xF3C04A;

}  // namespace

std::vector<SampleCollection> SampleCollections() {
  SampleCollection colours{"Цветные папки", {}};
  for (const Colour& c : kColours) {
    colours.icons.push_back({c.fileName, [rgb = c.rgb](int size) {
                               Image image(size, size);
                               DrawFolder(image, Hex(rgb));
                               return image;
                             }});
  }
  SampleCollection marked{"Папки со значками", {}};
  for (const Mark& mark : Marks()) {
    marked.icons.push_back({mark.fileName, [&mark](int size) {
                              Image image(size, size);
                              DrawFolder(image, Hex(kManila));
                              DrawMark(image, mark);
                              return image;
                            }});
  }
  return {colours, marked};
}

void WriteSampleCollections(const std::string& iconsFolder) {
  namespace fs = std::filesystem;
  for (const SampleCollection& collection : SampleCollections()) {
    const fs::path folder = fs::path(iconsFolder) / Utf8Path(collection.name);
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder))
      throw std::runtime_error("cannot create folder " + folder.string());
    for (const SampleIcon& icon : collection.icons) {
      std::vector<Image> images;
      for (const int size : kSampleIconSizes) images.push_back(icon.draw(size));
      artgen::WriteBytes((folder / Utf8Path(icon.fileName)).string(),
                         artgen::EncodeIco(images, artgen::IcoFrames::kPng256));
    }
  }
}

}  // namespace samplegen
