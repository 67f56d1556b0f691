#pragma once
// Undoing the per-row filters of PNG image data. Portable, with SSE2 paths
// where the compiler offers it.
#include <cstddef>
#include <cstdint>

namespace nestova::imagelist::png {

// Undoes filter type `filter` on one row of `length` bytes in place. `prev`
// is the row above, already unfiltered, or zeros for the first row of a
// pass; `bpp` is the number of bytes of one whole pixel, at least 1, and
// `length` a whole number of pixels. May read up to 2 bytes past the end of
// `row` and of `prev`, never write there.
// Throws DecodeError for a filter type beyond 4.
void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp);

// For 8-bit truecolour rows (`bpp` 3 or 4) without gamma or transparent
// key: undoes the filter as UnfilterRow does and also writes the row's
// pixels to `out` as blue, green, red, alpha (alpha 0 for 3-byte pixels),
// where that can be done in the same pass. Returns false, having touched
// nothing, where it cannot: the caller then unfilters and converts.
// Throws DecodeError for a filter type beyond 4.
bool UnfilterRowToBgra(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length, size_t bpp,
                       uint8_t* out);

}  // namespace nestova::imagelist::png
