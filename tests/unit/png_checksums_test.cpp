// The stream checksums against zlib's own, the reference: lengths on both
// sides of each fast path's steps, all bytes 255 (the largest sums), odd
// starting addresses, and a checksum continued piece by piece.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "imagelist/png_adler32.h"
#include "imagelist/png_crc32.h"

namespace nestova::imagelist::png {
namespace {

using Checksum = uint32_t (*)(uint32_t, const uint8_t*, size_t);
using ZlibChecksum = uLong (*)(uLong, const Bytef*, uInt);

void ExpectSameAsZlib(Checksum ours, ZlibChecksum zlib, uint32_t start,
                      std::initializer_list<size_t> sizes) {
  std::vector<uint8_t> data(20000);
  uint32_t state = 3;
  for (uint8_t& b : data) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(state >> 24);
  }
  const std::vector<uint8_t> full(20000, 255);
  for (const std::vector<uint8_t>* bytes :
       std::initializer_list<const std::vector<uint8_t>*>{&data, &full}) {
    for (size_t size : sizes) {
      for (size_t offset : {0, 1}) {
        const uint8_t* p = bytes->data() + offset;
        EXPECT_EQ(ours(start, p, size), zlib(start, p, static_cast<uInt>(size)))
            << "size " << size << " offset " << offset;
      }
    }
    uint32_t pieces = start;
    for (size_t at = 0, step = 1; at < bytes->size(); at += step, step = step * 3 + 1) {
      const size_t n = std::min(step, bytes->size() - at);
      pieces = ours(pieces, bytes->data() + at, n);
    }
    EXPECT_EQ(pieces, zlib(start, bytes->data(), static_cast<uInt>(bytes->size())));
  }
}

// Around the 16-byte steps and the point where the sums are reduced.
TEST(PngChecksums, Adler32MatchesZlib) {
  ExpectSameAsZlib(Adler32, adler32, kAdler32Start,
                   {0, 1, 15, 16, 17, 31, 5551, 5552, 5553, 11104, 11105, 19999});
}

// Around the 64-byte folding and the 16-byte blocks.
TEST(PngChecksums, Crc32MatchesZlib) {
  ExpectSameAsZlib(Crc32, crc32, 0,
                   {0, 1, 15, 16, 63, 64, 65, 79, 80, 127, 128, 129, 143, 8204, 19999});
}

}  // namespace
}  // namespace nestova::imagelist::png
