#pragma once
// Reads Windows icon files: the directory, and the frames stored as DIBs.
// PNG frames are only located here; the PNG decoder reads them. Portable.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imagelist/picture.h"

namespace nestova::imagelist {

// One image of an icon file. Size and bit count come from the frame's own
// header (PNG IHDR, or the DIB header with its doubled height halved), not
// from the directory's one-byte fields, which writers often get wrong and
// which store 256 as 0. A PNG frame's bit count is bits per sample times
// samples per pixel.
struct IconFrame {
  int width;
  int height;
  int bitCount;
  bool isPng;
  size_t offset;  // of the frame's bytes in the file
  size_t size;
};

// Throws DecodeError unless the file holds an icon directory (reserved 0,
// type 1, at least one entry) whose every entry lies inside the file, after
// the directory, and starts with a readable PNG or DIB header.
std::vector<IconFrame> ReadIconDirectory(std::span<const uint8_t> file);

// Decodes a DIB frame: the colour image through the shared DIB reader and
// the 1-bit AND mask below it (bit 1 = transparent). The result always has
// alpha. A 32-bit frame keeps its alpha, unless every alpha byte is 0: then,
// as for the lower depths, alpha is 255 where the mask bit is 0, and the
// pixel is 0 (colour and alpha) where it is 1. A frame that ends right after
// its colour rows has no mask and counts as opaque; a mask cut short is an
// error. Throws DecodeError for a broken frame and std::invalid_argument for
// a PNG frame.
Picture DecodeIconDibFrame(std::span<const uint8_t> file, const IconFrame& frame);

// The frame that Windows shows for a square of `wantedSize` pixels on a
// 32-bit display: the smallest |width - wanted| + |height - wanted|; on a tie
// the larger frame (more pixels), which scales down better than a smaller one
// scales up; then the highest bit count, counting anything above the
// display's 32 bits as 32; then the first in the file. Throws
// std::invalid_argument for no frames.
size_t ChooseIconFrame(const std::vector<IconFrame>& frames, int wantedSize);

}  // namespace nestova::imagelist
