#pragma once
// The CRC-32 of PNG chunks, the same value as zlib's crc32(). Every chunk,
// image data included, is checked, so this runs over the whole file: on x86
// processors that have carry-less multiplication it folds 64 bytes a step,
// several times faster than zlib's tables. Portable.
#include <cstddef>
#include <cstdint>

namespace nestova::imagelist::png {

// The checksum `crc` continued over `size` bytes at `data`; 0 to start.
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

}  // namespace nestova::imagelist::png
