#include "png_encode.h"

#include <zlib.h>

#include <stdexcept>
#include <string>

#include "pixels.h"

namespace artgen {
namespace {

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutBig32(out, static_cast<uint32_t>(crc));
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(size);
  const int result = compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                               Z_BEST_COMPRESSION);
  if (result != Z_OK) throw std::runtime_error("zlib failed: " + std::to_string(result));
  packed.resize(size);
  return packed;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  if (image.width < 1 || image.height < 1) throw std::invalid_argument("an empty image");
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(image.height) * (1 + static_cast<size_t>(image.width) * 4));
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < image.width; ++x) {
      const Bgra p = ToBgra(image.At(x, y));
      raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    }
  }

  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(image.width));
  PutBig32(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", Deflate(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace artgen
