#pragma once
// The Adler-32 checksum that ends the zlib stream of PNG image data,
// computed over the inflated bytes as they come. Portable, with an SSE2 path
// where the compiler offers it.
#include <cstddef>
#include <cstdint>

namespace nestova::imagelist::png {

inline constexpr uint32_t kAdler32Start = 1;

// The checksum `adler` continued over `size` bytes at `data`; the same value
// as zlib's adler32().
uint32_t Adler32(uint32_t adler, const uint8_t* data, size_t size);

}  // namespace nestova::imagelist::png
