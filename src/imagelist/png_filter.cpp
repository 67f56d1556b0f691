#include "imagelist/png_filter.h"

#include <bit>
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
// Sub, Average and Paeth wait on the pixel to the left, so they run one
// pixel per step with that pixel kept in a register: going through memory
// instead costs a store-to-load round trip per pixel. A pixel is loaded as 4
// or 8 bytes, reading up to 2 bytes past it, and stored as exactly its own
// bytes.
template <size_t kBpp>
inline __m128i LoadPixel(const uint8_t* p) {
  if constexpr (kBpp <= 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(static_cast<int>(v));
  } else {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  }
}

template <size_t kBpp>
inline void StorePixel(uint8_t* p, __m128i bytes) {
  if constexpr (kBpp == 8) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), bytes);
  } else {
    // Stored from a general register: x86 is little-endian, and a 3-byte
    // copy of the vector's low bytes would go through the stack.
    const uint32_t low = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
    if constexpr (kBpp == 3) {
      std::memcpy(p, &low, 2);
      p[2] = static_cast<uint8_t>(low >> 16);
    } else {
      std::memcpy(p, &low, kBpp < 4 ? kBpp : 4);
    }
    if constexpr (kBpp == 6) {
      const uint32_t high = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 4)));
      std::memcpy(p + 4, &high, 2);
    }
  }
}

// With an output, an 8-bit red, green, blue (alpha) pixel also goes out as
// blue, green, red, alpha, alpha 0 for a pixel without: one byte swap of the
// value already in a register, no second pass over the row.
template <size_t kBpp, bool kOut>
inline void EmitPixel(uint8_t* row, uint8_t*& out, __m128i bytes) {
  StorePixel<kBpp>(row, bytes);
  if constexpr (kOut) {
    const uint32_t swapped = __builtin_bswap32(static_cast<uint32_t>(_mm_cvtsi128_si32(bytes)));
    const uint32_t bgra = kBpp == 3 ? swapped >> 8 : (swapped >> 8 | swapped << 24);
    std::memcpy(out, &bgra, 4);
    out += 4;
  }
}

template <size_t kBpp, bool kOut>
void UnfilterSubSse2(uint8_t* row, size_t length, uint8_t* out) {
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i + kBpp <= length; i += kBpp) {
    a = _mm_add_epi8(LoadPixel<kBpp>(row + i), a);
    EmitPixel<kBpp, kOut>(row + i, out, a);
  }
}

// (a + b) >> 1 per byte is 255 less the rounded-up mean of the bytes'
// complements, so the loop carries the complement of the left pixel: it is
// the mean of that and the complement above, less the filtered byte. Two
// steps a pixel on the chain from one pixel to the next, not four.
template <size_t kBpp, bool kOut>
void UnfilterAverageSse2(uint8_t* row, const uint8_t* prev, size_t length, uint8_t* out) {
  const __m128i ones = _mm_set1_epi8(-1);
  __m128i notA = ones;
  for (size_t i = 0; i + kBpp <= length; i += kBpp) {
    const __m128i notB = _mm_xor_si128(LoadPixel<kBpp>(prev + i), ones);
    notA = _mm_sub_epi8(_mm_avg_epu8(notA, notB), LoadPixel<kBpp>(row + i));
    EmitPixel<kBpp, kOut>(row + i, out, _mm_xor_si128(notA, ones));
  }
}

// The pixel's bytes side by side in 16-bit lanes. The predictor is found
// from where the left byte a lies against bounds worked out from b and c
// alone, so the chain from one pixel to the next is only two compares and a
// selection. With p = a + b - c:
// - |p - a| <= |p - b| and |p - c| unless a lies strictly between b and
//   3c - 2b: then a is the predictor;
// - otherwise |p - b| <= |p - c| while a lies on b's side of (3c - b) / 2,
//   the midpoint included: then b, else c.
template <size_t kBpp, bool kOut>
void UnfilterPaethSse2(uint8_t* row, const uint8_t* prev, size_t length, uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = _mm_set1_epi16(0xFF);
  __m128i a = zero;
  __m128i c = zero;
  for (size_t i = 0; i + kBpp <= length; i += kBpp) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<kBpp>(prev + i), zero);
    const __m128i x = _mm_unpacklo_epi8(LoadPixel<kBpp>(row + i), zero);
    const __m128i k = _mm_sub_epi16(_mm_add_epi16(c, c), b);  // 2c - b
    const __m128i s = _mm_add_epi16(k, c);                    // 3c - b
    const __m128i e = _mm_sub_epi16(s, b);                    // 3c - 2b
    const __m128i lo = _mm_min_epi16(b, e);
    const __m128i hi = _mm_max_epi16(b, e);
    // a > t is "a above the midpoint", where b < c, and "not below it",
    // where b > c: t is (3c - b) / 2 or (3c - b - 1) / 2, rounded down.
    const __m128i bAbove = _mm_cmpgt_epi16(b, c);
    const __m128i t = _mm_srai_epi16(_mm_add_epi16(s, bAbove), 1);
    // The sums of the filtered byte with b and c, ready for either answer.
    const __m128i xb = _mm_add_epi16(x, b);
    const __m128i xc = _mm_add_epi16(x, c);
    const __m128i differ = _mm_xor_si128(xb, xc);
    const __m128i ifBelow = _mm_xor_si128(xb, _mm_and_si128(differ, bAbove));  // c if b > c
    // The chain.
    const __m128i above = _mm_cmpgt_epi16(a, t);
    const __m128i bc = _mm_xor_si128(ifBelow, _mm_and_si128(differ, above));
    const __m128i notA = _mm_and_si128(_mm_cmpgt_epi16(a, lo), _mm_cmpgt_epi16(hi, a));
    const __m128i xa = _mm_add_epi16(x, a);
    a = _mm_and_si128(_mm_or_si128(_mm_and_si128(notA, bc), _mm_andnot_si128(notA, xa)), low);
    EmitPixel<kBpp, kOut>(row + i, out, _mm_packus_epi16(a, a));
    c = b;
  }
}

template <size_t kBpp, bool kOut = false>
bool UnfilterPixelsSse2(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length,
                        uint8_t* out = nullptr) {
  switch (filter) {
    case 1:
      UnfilterSubSse2<kBpp, kOut>(row, length, out);
      return true;
    case 3:
      UnfilterAverageSse2<kBpp, kOut>(row, prev, length, out);
      return true;
    case 4:
      UnfilterPaethSse2<kBpp, kOut>(row, prev, length, out);
      return true;
    default:
      return false;
  }
}

// True when an SSE2 path took the row.
bool UnfilterSse2(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
  switch (bpp) {
    case 2:
      return UnfilterPixelsSse2<2>(filter, row, prev, length);
    case 3:
      return UnfilterPixelsSse2<3>(filter, row, prev, length);
    case 4:
      return UnfilterPixelsSse2<4>(filter, row, prev, length);
    case 6:
      return UnfilterPixelsSse2<6>(filter, row, prev, length);
    case 8:
      return UnfilterPixelsSse2<8>(filter, row, prev, length);
    default:
      return false;
  }
}
#endif

}  // namespace

void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp) {
  if (filter > 4) throw DecodeError("bad filter type");
#if defined(__SSE2__)
  if (UnfilterSse2(filter, row, prev, length, bpp)) return;
#endif
  switch (filter) {
    case 1:
      return UnfilterSub(row, length, bpp);
    case 2:
      return UnfilterUp(row, prev, length);
    case 3:
      return UnfilterAverage(row, prev, length, bpp);
    case 4:
      return UnfilterPaethScalar(row, prev, length, bpp);
    default:
      return;
  }
}

bool UnfilterRowToBgra(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp,
                       uint8_t* out) {
  if (filter > 4) throw DecodeError("bad filter type");
#if defined(__SSE2__)
  if constexpr (std::endian::native == std::endian::little) {
    if (bpp == 3) return UnfilterPixelsSse2<3, true>(filter, row, prev, length, out);
    if (bpp == 4) return UnfilterPixelsSse2<4, true>(filter, row, prev, length, out);
  }
#else
  (void)row, (void)prev, (void)length, (void)bpp, (void)out;
#endif
  return false;
}

}  // namespace nestova::imagelist::png
