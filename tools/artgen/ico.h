// Writes images as 32-bit Windows icon files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace artgen {

// How the largest frames are stored. Windows Vista and later read a 256 px
// frame stored as a whole PNG file, which keeps icon files small.
enum class IcoFrames { kAllBitmaps, kPng256 };

// Encodes images of 1 to 256 pixels a side as one .ico, each as a 32-bit
// BGRA entry plus its AND mask (or, with kPng256, a 256 x 256 image as PNG).
// Entries are sorted by size, smallest first. Throws std::invalid_argument
// for no images, two of one size, or other sizes.
std::vector<uint8_t> EncodeIco(const std::vector<Image>& images,
                               IcoFrames large = IcoFrames::kAllBitmaps);
// The same for an icon holding a single image.
std::vector<uint8_t> EncodeIco(const Image& image);

// Writes the bytes to path, replacing the file. Throws std::runtime_error
// naming the path when it cannot be written completely.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace artgen
