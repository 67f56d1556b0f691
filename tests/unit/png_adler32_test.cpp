#include "imagelist/png_adler32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace nestova::imagelist::png {
namespace {

// zlib's own checksum is the reference: lengths around the 16-byte steps
// and the point where the sums are reduced, all bytes 255 (the largest
// sums), odd starting addresses, and a checksum continued piece by piece.
TEST(PngAdler32, MatchesZlib) {
  std::vector<uint8_t> data(20000);
  uint32_t state = 3;
  for (uint8_t& b : data) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(state >> 24);
  }
  const std::vector<uint8_t> full(20000, 255);
  for (const std::vector<uint8_t>* bytes :
       std::initializer_list<const std::vector<uint8_t>*>{&data, &full}) {
    for (size_t size : {0, 1, 15, 16, 17, 31, 5551, 5552, 5553, 11104, 11105, 19999}) {
      for (size_t offset : {0, 1}) {
        const uint8_t* p = bytes->data() + offset;
        EXPECT_EQ(Adler32(kAdler32Start, p, size), adler32(1, p, static_cast<uInt>(size)))
            << "size " << size << " offset " << offset;
      }
    }
    uint32_t pieces = kAdler32Start;
    for (size_t at = 0, step = 1; at < bytes->size(); at += step, step = step * 3 + 1) {
      const size_t n = std::min(step, bytes->size() - at);
      pieces = Adler32(pieces, bytes->data() + at, n);
    }
    EXPECT_EQ(pieces, adler32(1, bytes->data(), static_cast<uInt>(bytes->size())));
  }
}

}  // namespace
}  // namespace nestova::imagelist::png
