#pragma once
// The picture of an icon file for one cell size, read straight from the
// file's bytes, in the cases where it is sure to be what the system's icon
// extraction shows unscaled: one 32-bit frame of exactly that size, stored
// as a plain bitmap with per-pixel alpha and an AND mask. Portable.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imagelist/picture.h"

namespace nestova::imagelist {

struct ExactIconFrame {
  Picture picture;  // rows from the top, the file's own alpha
  // The AND mask (bit 1 = transparent), rows from the top, each padded to
  // 16 bits as CreateBitmap takes them.
  std::vector<uint8_t> mask;
};

// The frame, or nullopt when the file is not of that plain kind: a broken or
// unusual directory, no frame or two frames of that size (directory and
// header both say so), a PNG frame, another depth, compression or colour
// table, no mask, or every alpha byte 0. The system chooses the frame by the
// directory's sizes, so a file that passes leaves it no other choice.
std::optional<ExactIconFrame> ReadExactIconFrame(std::span<const uint8_t> file, int size);

}  // namespace nestova::imagelist
