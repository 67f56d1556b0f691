#include "imagelist/png_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagelist/picture.h"

namespace nestova::imagelist::png {
namespace {

using Bytes = std::vector<uint8_t>;

// The filters as the format defines them, byte by byte: a is the byte one
// pixel to the left, b the one above, c the one above a.
uint8_t Predict(uint8_t filter, int a, int b, int c) {
  switch (filter) {
    case 1:
      return static_cast<uint8_t>(a);
    case 2:
      return static_cast<uint8_t>(b);
    case 3:
      return static_cast<uint8_t>((a + b) / 2);
    case 4: {
      const int p = a + b - c;
      const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
      return static_cast<uint8_t>(pb <= pc ? b : c);
    }
    default:
      return 0;
  }
}

Bytes Reference(uint8_t filter, Bytes row, const Bytes& prev, size_t bpp) {
  for (size_t i = 0; i < row.size(); ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int c = i >= bpp ? prev[i - bpp] : 0;
    row[i] = static_cast<uint8_t>(row[i] + Predict(filter, a, prev[i], c));
  }
  return row;
}

uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 24;
}

// Every filter at every pixel size the decoder uses, on rows of one pixel
// and longer ones, with extremes that make the Paeth distances tie or
// overflow a byte.
TEST(PngFilter, MatchesTheDefinitionForEveryPixelSize) {
  uint32_t state = 7;
  for (size_t bpp : {1, 2, 3, 4, 6, 8}) {
    for (size_t pixels : {1, 2, 5, 33}) {
      for (uint8_t filter = 0; filter <= 4; ++filter) {
        for (int pattern = 0; pattern < 3; ++pattern) {
          const size_t length = bpp * pixels;
          // Two spare bytes after each row, which the filters may read.
          Bytes row(length + 2), prev(length + 2);
          for (size_t i = 0; i < row.size(); ++i) {
            const uint32_t r = Next(state);
            row[i] = static_cast<uint8_t>(pattern == 1 ? (r & 1) * 255 : r);
            prev[i] = static_cast<uint8_t>(pattern == 2 ? (r & 2) * 127 : Next(state));
          }
          const Bytes expected = Reference(filter, Bytes(row.begin(), row.begin() + length),
                                           Bytes(prev.begin(), prev.begin() + length), bpp);
          const Bytes spare(row.end() - 2, row.end());
          UnfilterRow(filter, row.data(), prev.data(), length, bpp);
          SCOPED_TRACE("filter " + std::to_string(filter) + " bpp " + std::to_string(bpp) +
                       " pixels " + std::to_string(pixels) + " pattern " + std::to_string(pattern));
          EXPECT_EQ(Bytes(row.begin(), row.begin() + length), expected);
          EXPECT_EQ(Bytes(row.end() - 2, row.end()), spare) << "wrote past the row";
        }
      }
    }
  }
}

// Where it takes a row, the one-pass form gives the same row and the same
// pixels as unfiltering and then reordering the bytes.
TEST(PngFilter, OnePassToBgraMatchesTheDefinition) {
  uint32_t state = 11;
  for (size_t bpp : {3, 4}) {
    for (size_t pixels : {1, 2, 33}) {
      for (uint8_t filter = 0; filter <= 4; ++filter) {
        const size_t length = bpp * pixels;
        Bytes row(length + 2), prev(length + 2);
        for (size_t i = 0; i < row.size(); ++i) {
          row[i] = static_cast<uint8_t>(Next(state));
          prev[i] = static_cast<uint8_t>(Next(state));
        }
        const Bytes original = row;
        const Bytes expected = Reference(filter, Bytes(row.begin(), row.begin() + length),
                                         Bytes(prev.begin(), prev.begin() + length), bpp);
        Bytes bgra(pixels * 4 + 4, 0xEE);
        SCOPED_TRACE("filter " + std::to_string(filter) + " bpp " + std::to_string(bpp) +
                     " pixels " + std::to_string(pixels));
        if (!UnfilterRowToBgra(filter, row.data(), prev.data(), length, bpp, bgra.data())) {
          EXPECT_EQ(row, original) << "touched a row it did not take";
          continue;
        }
        EXPECT_EQ(Bytes(row.begin(), row.begin() + length), expected);
        for (size_t p = 0; p < pixels; ++p) {
          const uint8_t* in = &expected[p * bpp];
          const Bytes want = {in[2], in[1], in[0], bpp == 4 ? in[3] : uint8_t{0}};
          EXPECT_EQ(Bytes(bgra.begin() + 4 * p, bgra.begin() + 4 * p + 4), want) << "pixel " << p;
        }
        EXPECT_EQ(bgra[pixels * 4], 0xEE) << "wrote past the pixels";
      }
    }
  }
}

// Average and Paeth on every left, above and above-left byte there is: the
// vector paths work the predictor out in ways of their own. Each row is two
// 8-byte pixels; the first one's filtered bytes are chosen so that it
// unfilters to the left bytes wanted, eight of them side by side.
TEST(PngFilter, AverageAndPaethMatchTheDefinitionForEveryByte) {
  constexpr size_t kBpp = 8;
  Bytes row(2 * kBpp + 2), prev(2 * kBpp + 2);
  for (uint8_t filter : {3, 4}) {
    int mismatches = 0;
    for (int b = 0; b < 256; ++b) {
      for (int c = 0; c < 256; ++c) {
        for (int a0 = 0; a0 < 256 && (filter == 4 || c == 0); a0 += kBpp) {
          for (size_t l = 0; l < kBpp; ++l) {
            prev[l] = static_cast<uint8_t>(c);
            prev[kBpp + l] = static_cast<uint8_t>(b);
            row[l] = static_cast<uint8_t>(a0 + static_cast<int>(l) - Predict(filter, 0, c, 0));
            row[kBpp + l] = 0x5A;
          }
          UnfilterRow(filter, row.data(), prev.data(), 2 * kBpp, kBpp);
          for (size_t l = 0; l < kBpp; ++l) {
            const int a = a0 + static_cast<int>(l);
            const uint8_t want = static_cast<uint8_t>(0x5A + Predict(filter, a, b, c));
            if (row[l] != a || row[kBpp + l] != want) ++mismatches;
          }
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "filter " << int{filter};
  }
}

TEST(PngFilter, RefusesUnknownFilterTypes) {
  Bytes row(8), prev(8), bgra(8);
  for (uint8_t filter : {5, 128, 255}) {
    EXPECT_THROW(UnfilterRow(filter, row.data(), prev.data(), 6, 3), DecodeError);
    EXPECT_THROW(UnfilterRowToBgra(filter, row.data(), prev.data(), 6, 3, bgra.data()),
                 DecodeError);
  }
}

}  // namespace
}  // namespace nestova::imagelist::png
