// Writes images as 32-bit Windows icon files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace artgen {

// Encodes images of 1 to 256 pixels a side as one .ico, each as a 32-bit
// BGRA entry plus its AND mask. Entries are sorted by size, smallest first.
// Throws std::invalid_argument for no images, two of one size, or other sizes.
std::vector<uint8_t> EncodeIco(const std::vector<Image>& images);
// The same for an icon holding a single image.
std::vector<uint8_t> EncodeIco(const Image& image);

// Writes the bytes to path, replacing the file. Throws std::runtime_error
// naming the path when it cannot be written completely.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace artgen
