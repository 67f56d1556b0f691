#include "imagelist/png_crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace nestova::imagelist::png {
namespace {

// zlib's own checksum is the reference: lengths on both sides of the
// 64-byte folding and the 16-byte blocks, all bytes 255, odd starting
// addresses, and a checksum continued piece by piece.
TEST(PngCrc32, MatchesZlib) {
  std::vector<uint8_t> data(20000);
  uint32_t state = 5;
  for (uint8_t& b : data) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(state >> 24);
  }
  const std::vector<uint8_t> full(20000, 255);
  for (const std::vector<uint8_t>* bytes :
       std::initializer_list<const std::vector<uint8_t>*>{&data, &full}) {
    for (size_t size : {0, 1, 15, 16, 63, 64, 65, 79, 80, 127, 128, 129, 143, 8204, 19999}) {
      for (size_t offset : {0, 1}) {
        const uint8_t* p = bytes->data() + offset;
        EXPECT_EQ(Crc32(0, p, size), crc32(0, p, static_cast<uInt>(size)))
            << "size " << size << " offset " << offset;
      }
    }
    uint32_t pieces = 0;
    for (size_t at = 0, step = 1; at < bytes->size(); at += step, step = step * 3 + 1) {
      const size_t n = std::min(step, bytes->size() - at);
      pieces = Crc32(pieces, bytes->data() + at, n);
    }
    EXPECT_EQ(pieces, crc32(0, bytes->data(), static_cast<uInt>(bytes->size())));
  }
}

}  // namespace
}  // namespace nestova::imagelist::png
