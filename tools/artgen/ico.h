// Writes images as single-image 32-bit Windows icon files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace artgen {

// Encodes an image of 1 to 256 pixels a side as an .ico holding one 32-bit
// BGRA entry plus its AND mask. Throws std::invalid_argument on other sizes.
std::vector<uint8_t> EncodeIco(const Image& image);

// Writes the bytes to path, replacing the file. Throws std::runtime_error
// naming the path when it cannot be written completely.
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace artgen
