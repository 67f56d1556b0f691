#include "imagelist/png_filter.h"

#include <cstdlib>
#include <cstring>

#include "imagelist/picture.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nestova::imagelist::png {
namespace {

void UnfilterSub(uint8_t* row, size_t length, size_t bpp) {
  for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
}

void UnfilterUp(uint8_t* row, const uint8_t* prev, size_t length) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= length; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_add_epi8(x, b));
  }
#endif
  for (; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
}

void UnfilterAverage(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
  const size_t head = bpp < length ? bpp : length;
  for (size_t i = 0; i < head; ++i) row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
  for (size_t i = bpp; i < length; ++i) {
    row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prev[i]) >> 1));
  }
}

inline int PaethPredictor(int a, int b, int c) {
  const int p = b - c;  // |p| is the distance of a from a + b - c
  const int q = a - c;  // |q| that of b
  const int pa = std::abs(p);
  const int pb = std::abs(q);
  const int pc = std::abs(p + q);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

void UnfilterPaethScalar(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
  const size_t head = bpp < length ? bpp : length;
  for (size_t i = 0; i < head; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
  for (size_t i = bpp; i < length; ++i) {
    row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - bpp], prev[i], prev[i - bpp]));
  }
}

#if defined(__SSE2__)
template <size_t kBpp>
inline __m128i LoadPixel(const uint8_t* p) {
  uint64_t v = 0;
  std::memcpy(&v, p, kBpp);
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&v)),
                           _mm_setzero_si128());
}

template <size_t kBpp>
inline void StorePixel(uint8_t* p, __m128i words) {
  uint64_t v;
  _mm_storel_epi64(reinterpret_cast<__m128i*>(&v), _mm_packus_epi16(words, words));
  std::memcpy(p, &v, kBpp);
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// One pixel per step, its bytes side by side in 16-bit lanes: the left
// neighbour is the only thing the next pixel waits for.
template <size_t kBpp>
void UnfilterPaethSse2(uint8_t* row, const uint8_t* prev, size_t length) {
  const __m128i low = _mm_set1_epi16(0xFF);
  __m128i a = _mm_setzero_si128();
  __m128i c = _mm_setzero_si128();
  for (size_t i = 0; i + kBpp <= length; i += kBpp) {
    const __m128i b = LoadPixel<kBpp>(prev + i);
    const __m128i x = LoadPixel<kBpp>(row + i);
    const __m128i p = _mm_sub_epi16(b, c);
    const __m128i q = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(p);
    const __m128i pb = Abs16(q);
    const __m128i pc = Abs16(_mm_add_epi16(p, q));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i notB = _mm_cmpgt_epi16(pb, pc);
    const __m128i bc = _mm_or_si128(_mm_and_si128(notB, c), _mm_andnot_si128(notB, b));
    const __m128i pred = _mm_or_si128(_mm_and_si128(notA, bc), _mm_andnot_si128(notA, a));
    a = _mm_and_si128(_mm_add_epi16(x, pred), low);
    StorePixel<kBpp>(row + i, a);
    c = b;
  }
}
#endif

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
#if defined(__SSE2__)
  switch (bpp) {
    case 3:
      return UnfilterPaethSse2<3>(row, prev, length);
    case 4:
      return UnfilterPaethSse2<4>(row, prev, length);
    case 6:
      return UnfilterPaethSse2<6>(row, prev, length);
    case 8:
      return UnfilterPaethSse2<8>(row, prev, length);
    default:
      break;
  }
#endif
  UnfilterPaethScalar(row, prev, length, bpp);
}

}  // namespace

void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
  switch (filter) {
    case 0:
      return;
    case 1:
      return UnfilterSub(row, length, bpp);
    case 2:
      return UnfilterUp(row, prev, length);
    case 3:
      return UnfilterAverage(row, prev, length, bpp);
    case 4:
      return UnfilterPaeth(row, prev, length, bpp);
    default:
      throw DecodeError("bad filter type");
  }
}

}  // namespace nestova::imagelist::png
