#include "imagelist/png_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "png_test_support.h"

namespace nestova::imagelist {
namespace {

using testing::Bytes;
using testing::DecodeWithLibpng;
using testing::LibpngPicture;
using testing::PngSpec;

// The correction for a 2.2 display, computed here on its own.
uint8_t Corrected(uint8_t v, uint32_t gamma) {
  if (gamma == 0) return v;
  return static_cast<uint8_t>(
      std::floor(255.0 * std::pow(v / 255.0, 100000.0 / (gamma * 2.2)) + 0.5));
}

// libpng corrects 16-bit samples before it drops their low byte; we drop
// first and correct the 8-bit value, as we promise. For those files the
// oracle is libpng without gamma, corrected here.
LibpngPicture Expected(const Bytes& file) {
  LibpngPicture ref = DecodeWithLibpng(file, true);
  if (ref.bitDepth == 16 && ref.gamma != 0) {
    ref = DecodeWithLibpng(file, false);
    for (size_t i = 0; i < ref.bgra.size(); ++i) {
      if (i % 4 != 3) ref.bgra[i] = Corrected(ref.bgra[i], ref.gamma);
    }
  }
  return ref;
}

void ExpectSameAsLibpng(const Bytes& file) {
  const LibpngPicture ref = Expected(file);
  const Picture ours = DecodePng(file);
  ASSERT_EQ(ours.width, static_cast<int>(ref.width));
  ASSERT_EQ(ours.height, static_cast<int>(ref.height));
  ASSERT_EQ(ours.hasAlpha, ref.hasAlpha);
  ASSERT_EQ(ours.bgra.size(), ref.bgra.size());
  size_t mismatches = 0;
  for (size_t i = 0; i < ours.bgra.size(); ++i) {
    // Without alpha of its own our alpha byte is 0, libpng's filler too.
    if (ours.bgra[i] != ref.bgra[i] && ++mismatches <= 5) {
      ADD_FAILURE() << "pixel " << i / 4 << " byte " << i % 4 << ": ours " << int{ours.bgra[i]}
                    << ", libpng " << int{ref.bgra[i]};
    }
  }
  EXPECT_EQ(mismatches, 0u);
}

class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_;
};

// Random samples, with the transparent key sprinkled in so that both alpha
// values show up.
PngSpec MakeSpec(int colourType, int depth, uint32_t width, uint32_t height, bool interlaced,
                 bool transparency, uint32_t gamma, uint32_t seed) {
  Random random(seed);
  PngSpec spec;
  spec.width = width;
  spec.height = height;
  spec.colourType = colourType;
  spec.bitDepth = depth;
  spec.interlaced = interlaced;
  spec.gamma = gamma;
  spec.transparency = transparency;
  const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
  uint32_t maxValue = (1u << depth) - 1;
  if (colourType == 3) {
    // A palette shorter than the depth allows, and a tRNS list shorter
    // than the palette.
    const uint32_t entries = depth == 1 ? 2 : depth == 8 ? 200 : (1u << depth) - 1;
    for (uint32_t i = 0; i < entries * 3; ++i) {
      spec.palette.push_back(static_cast<uint8_t>(random.Next()));
    }
    if (transparency) {
      for (uint32_t i = 0; i < (entries + 1) / 2; ++i) {
        spec.paletteAlpha.push_back(static_cast<uint8_t>(random.Next()));
      }
    }
    maxValue = entries - 1;
  }
  for (int c = 0; c < 3; ++c) spec.key[c] = static_cast<uint16_t>(random.Next() % (maxValue + 1));
  const size_t pixels = size_t{width} * height;
  for (size_t p = 0; p < pixels; ++p) {
    const bool key = transparency && random.Next() % 4 == 0;
    for (int c = 0; c < channels; ++c) {
      spec.samples.push_back(key && colourType != 3 ? spec.key[c] : random.Next() % (maxValue + 1));
    }
  }
  return spec;
}

struct Format {
  int colourType;
  int depth;
};
const Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

struct Size {
  uint32_t width, height;
};
// A single pixel, sizes that leave Adam7 passes empty or partial and rows
// that end inside a byte, and a wide one.
const Size kSizes[] = {{1, 1}, {3, 2}, {13, 11}, {70, 5}};

TEST(PngDecoder, MatchesLibpngOnEveryFormat) {
  uint32_t seed = 1;
  for (const Format& f : kFormats) {
    const bool keyed = f.colourType == 0 || f.colourType == 2 || f.colourType == 3;
    for (const Size& s : kSizes) {
      for (bool interlaced : {false, true}) {
        for (bool transparency : {false, true}) {
          if (transparency && !keyed) continue;
          for (uint32_t gamma : {0u, 100000u, 70000u}) {
            const PngSpec spec = MakeSpec(f.colourType, f.depth, s.width, s.height, interlaced,
                                          transparency, gamma, seed++);
            SCOPED_TRACE("type " + std::to_string(f.colourType) + " depth " +
                         std::to_string(f.depth) + " " + std::to_string(s.width) + "x" +
                         std::to_string(s.height) + (interlaced ? " interlaced" : "") +
                         (transparency ? " tRNS" : "") + " gAMA " + std::to_string(gamma));
            ExpectSameAsLibpng(testing::WritePngWithLibpng(spec));
          }
        }
      }
    }
  }
}

// The conformance files of the format: every colour type and depth, tRNS
// of every kind, gAMA, and an interlaced palette picture.
const char* const kSuite[] = {
    "basn0g01.png",      "basn0g01-30.png", "basn0g02.png",  "basn0g02-29.png",  "basn0g04.png",
    "basn0g04-31.png",   "basn0g08.png",    "basn0g16.png",  "basn2c08.png",     "basn2c16.png",
    "basn3p01.png",      "basn3p02.png",    "basn3p04.png",  "basn3p04-31i.png", "basn3p08.png",
    "basn3p08-trns.png", "basn4a08.png",    "basn4a16.png",  "basn6a08.png",     "basn6a16.png",
    "ftbbn0g01.png",     "ftbbn0g02.png",   "ftbbn0g04.png", "ftbbn2c16.png",    "ftbbn3p08.png",
    "ftbgn2c16.png",     "ftbgn3p08.png",   "ftbrn2c08.png", "ftbwn0g16.png",    "ftbwn3p08.png",
    "ftbyn3p08.png",     "ftp0n0g08.png",   "ftp0n2c08.png", "ftp0n3p08.png",    "ftp1n3p08.png",
};

TEST(PngDecoder, MatchesLibpngOnConformanceFiles) {
  for (const char* name : kSuite) {
    SCOPED_TRACE(name);
    ExpectSameAsLibpng(testing::ReadFileBytes(std::string(NESTOVA_TEST_DATA "/png/") + name));
  }
}

Bytes Big32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

Bytes OneRowPng(uint32_t width, int depth, int colourType, const Bytes& row, const Bytes& palette,
                const Bytes& transparency, uint32_t gamma = 0) {
  testing::ChunkWriter w;
  w.Header(width, 1, depth, colourType);
  if (gamma != 0) w.Chunk("gAMA", Big32(gamma));
  if (!palette.empty()) w.Chunk("PLTE", palette);
  if (!transparency.empty()) w.Chunk("tRNS", transparency);
  Bytes raw = {0};
  raw.insert(raw.end(), row.begin(), row.end());
  return w.Chunk("IDAT", testing::Deflate(raw)).Chunk("IEND", {}).bytes();
}

TEST(PngDecoder, TransparencyGivesAlpha) {
  struct Case {
    const char* name;
    Bytes file;
    Bytes bgra;
  };
  const Case cases[] = {
      {"palette: listed alphas, then 255",
       OneRowPng(3, 8, 3, {0, 1, 2}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0, 128}),
       {30, 20, 10, 0, 60, 50, 40, 128, 90, 80, 70, 255}},
      {"greyscale of 4 bits: the key is transparent",
       OneRowPng(3, 4, 0, {0x5F, 0x50}, {}, {0, 5}),
       {0x55, 0x55, 0x55, 0, 0xFF, 0xFF, 0xFF, 255, 0x55, 0x55, 0x55, 0}},
      {"truecolour of 16 bits: all 16 bits of the key count",
       OneRowPng(4, 16, 2, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x12, 0x35, 0x56, 0x78, 0x9A, 0xBC,
                            0x12, 0x34, 0x56, 0x79, 0x9A, 0xBC, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBD},
                 {}, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}),
       {0x9A, 0x56, 0x12, 0, 0x9A, 0x56, 0x12, 255, 0x9A, 0x56, 0x12, 255, 0x9A, 0x56, 0x12, 255}},
      {"greyscale with alpha keeps its alpha",
       OneRowPng(2, 8, 4, {7, 0, 9, 200}, {}, {}),
       {7, 7, 7, 0, 9, 9, 9, 200}},
      {"without tRNS no alpha",
       OneRowPng(2, 8, 3, {0, 1}, {10, 20, 30, 40, 50, 60}, {}),
       {30, 20, 10, 0, 60, 50, 40, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Picture p = DecodePng(c.file);
    EXPECT_EQ(p.hasAlpha, std::string(c.name) != "without tRNS no alpha");
    EXPECT_EQ(p.bgra, c.bgra);
  }
}

// libpng leaves samples alone when the correction is within 5% of none;
// we apply it as defined. A file gamma of 0.44 gives an exponent of 1.033.
TEST(PngDecoder, GammaNearOneIsStillApplied) {
  Bytes grey(256);
  Bytes greyAlpha(512);
  for (int v = 0; v < 256; ++v) {
    grey[v] = static_cast<uint8_t>(v);
    greyAlpha[2 * v] = static_cast<uint8_t>(v);
    greyAlpha[2 * v + 1] = static_cast<uint8_t>(v);
  }
  const Picture g = DecodePng(OneRowPng(256, 8, 0, grey, {}, {}, 44000));
  const Picture ga = DecodePng(OneRowPng(256, 8, 4, greyAlpha, {}, {}, 44000));
  int changed = 0;
  for (int v = 0; v < 256; ++v) {
    const uint8_t want = Corrected(static_cast<uint8_t>(v), 44000);
    changed += want != v;
    EXPECT_EQ(g.bgra[4 * v], want) << v;
    EXPECT_EQ(ga.bgra[4 * v + 2], want) << v;
    EXPECT_EQ(ga.bgra[4 * v + 3], v) << "alpha is never corrected";
  }
  EXPECT_GT(changed, 50);
}

}  // namespace
}  // namespace nestova::imagelist
