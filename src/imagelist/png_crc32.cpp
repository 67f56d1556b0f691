#include "imagelist/png_crc32.h"

#include <zlib.h>

#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define NESTOVA_CRC32_CLMUL 1
#include <emmintrin.h>
#include <wmmintrin.h>
#endif

namespace nestova::imagelist::png {
namespace {

#if defined(NESTOVA_CRC32_CLMUL)
#define NESTOVA_CLMUL __attribute__((target("pclmul,sse2")))

inline __m128i Load(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// x times the constants, high and low halves, with the next block added.
NESTOVA_CLMUL inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x11), next),
                       _mm_clmulepi64_si128(x, k, 0x00));
}

// Folding with carry-less multiplication, after Intel's "Fast CRC
// Computation for Generic Polynomials Using PCLMULQDQ Instruction", in the
// bit-reflected form zlib's CRC takes. The constants are powers of x modulo
// the polynomial, reflected; the last two are the polynomial and its
// Barrett constant. `crc` comes and goes inverted, as the tables see it.
// `size` is at least 64 and a whole number of 16-byte blocks.
NESTOVA_CLMUL uint32_t FoldCrc32(uint32_t crc, const uint8_t* data, size_t size) {
  const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
  const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
  const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
  const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

  __m128i x1 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x2 = Load(data + 16);
  __m128i x3 = Load(data + 32);
  __m128i x4 = Load(data + 48);
  data += 64;
  size -= 64;
  // Four lanes of 16 bytes in step, each folded 64 bytes ahead.
  for (; size >= 64; data += 64, size -= 64) {
    x1 = Fold(x1, k1k2, Load(data));
    x2 = Fold(x2, k1k2, Load(data + 16));
    x3 = Fold(x3, k1k2, Load(data + 32));
    x4 = Fold(x4, k1k2, Load(data + 48));
  }
  // The four into one, then the remaining blocks into it.
  x1 = Fold(x1, k3k4, x2);
  x1 = Fold(x1, k3k4, x3);
  x1 = Fold(x1, k3k4, x4);
  for (; size >= 16; data += 16, size -= 16) x1 = Fold(x1, k3k4, Load(data));

  // 128 bits to 64, then Barrett reduction to 32.
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
  x1 = _mm_xor_si128(_mm_srli_si128(x1, 4),
                     _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), poly, 0x00);
  x1 = _mm_xor_si128(x1, t);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}

bool HasClmul() {
  static const bool has = [] {
    __builtin_cpu_init();  // harmless when the runtime has already done it
    return __builtin_cpu_supports("pclmul") != 0;
  }();
  return has;
}
#endif

}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
#if defined(NESTOVA_CRC32_CLMUL)
  if (size >= 64 && HasClmul()) {
    const size_t blocks = size / 16 * 16;
    crc = ~FoldCrc32(~crc, data, blocks);
    data += blocks;
    size -= blocks;
  }
#endif
  // zlib takes at most 4 GB a call; a chunk is less than 2 GB.
  return static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(size)));
}

}  // namespace nestova::imagelist::png
