#include "imagelist/png_adler32.h"

#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nestova::imagelist::png {
namespace {

#if defined(__SSE2__)
constexpr uint32_t kBase = 65521;
// The most bytes after which the sums still fit 32 bits before they are
// reduced, a whole number of 16-byte blocks.
constexpr size_t kMaxRun = size_t{5552} / 16 * 16;

uint32_t SumLanes(__m128i v) {
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
  return static_cast<uint32_t>(_mm_cvtsi128_si32(v));
}

// Sixteen bytes a step: s1 takes their sum; s2 takes 16 times s1 as it was
// before the block plus each byte weighted by the number of sums it enters,
// 16 for the first down to 1 for the last.
uint32_t Adler32Sse2(uint32_t adler, const uint8_t* data, size_t size) {
  uint32_t s1 = adler & 0xFFFF;
  uint32_t s2 = adler >> 16;
  const __m128i zero = _mm_setzero_si128();
  const __m128i firstWeights = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i lastWeights = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  while (size >= 16) {
    const size_t run = size < kMaxRun ? size / 16 * 16 : kMaxRun;
    size -= run;
    s2 += s1 * static_cast<uint32_t>(run);
    __m128i sum1 = zero, sum2 = zero, before = zero;
    for (const uint8_t* end = data + run; data != end; data += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
      before = _mm_add_epi32(before, sum1);
      sum1 = _mm_add_epi32(sum1, _mm_sad_epu8(bytes, zero));
      sum2 = _mm_add_epi32(sum2, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), firstWeights));
      sum2 = _mm_add_epi32(sum2, _mm_madd_epi16(_mm_unpackhi_epi8(bytes, zero), lastWeights));
    }
    s1 += SumLanes(sum1);
    s2 += SumLanes(_mm_add_epi32(sum2, _mm_slli_epi32(before, 4)));
    s1 %= kBase;
    s2 %= kBase;
  }
  for (; size > 0; --size, ++data) {
    s1 += *data;
    s2 += s1;
  }
  return (s2 % kBase) << 16 | (s1 % kBase);
}
#endif

}  // namespace

uint32_t Adler32(uint32_t adler, const uint8_t* data, size_t size) {
#if defined(__SSE2__)
  return Adler32Sse2(adler, data, size);
#else
  return static_cast<uint32_t>(adler32_z(adler, data, size));
#endif
}

}  // namespace nestova::imagelist::png
