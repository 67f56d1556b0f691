#include "imagelist/icon_exact_frame.h"

namespace nestova::imagelist {
namespace {

constexpr size_t kDirectoryHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kInfoHeaderBytes = 40;

uint16_t Le16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

uint32_t Le32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(Le16(d, at)) | (static_cast<uint32_t>(Le16(d, at + 2)) << 16);
}

// The directory stores 256 as 0.
int DirectorySize(uint8_t value) { return value == 0 ? 256 : value; }

}  // namespace

std::optional<ExactIconFrame> ReadExactIconFrame(std::span<const uint8_t> file, int size) {
  if (size <= 0 || size > 256) return std::nullopt;
  if (file.size() < kDirectoryHeaderBytes || Le16(file, 0) != 0 || Le16(file, 2) != 1)
    return std::nullopt;
  const size_t count = Le16(file, 4);
  const size_t directoryEnd = kDirectoryHeaderBytes + kEntryBytes * count;
  if (count == 0 || file.size() < directoryEnd) return std::nullopt;

  std::optional<size_t> found;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kDirectoryHeaderBytes + kEntryBytes * i;
    if (DirectorySize(file[entry]) != size || DirectorySize(file[entry + 1]) != size) continue;
    if (found) return std::nullopt;  // two of that size: the system picks by depth
    found = entry;
  }
  if (!found) return std::nullopt;

  const size_t entry = *found;
  const uint64_t frameSize = Le32(file, entry + 8);
  const uint64_t offset = Le32(file, entry + 12);
  if (Le16(file, entry + 6) != 32 || offset < directoryEnd || offset > file.size() ||
      frameSize > file.size() - offset) {
    return std::nullopt;
  }
  const std::span<const uint8_t> frame = file.subspan(offset, frameSize);
  const size_t w = static_cast<size_t>(size);
  const size_t colourBytes = w * w * 4;
  const size_t maskStride = (w + 31) / 32 * 4;  // rows padded to 32 bits in the file
  if (frame.size() < kInfoHeaderBytes + colourBytes + maskStride * w) return std::nullopt;
  const bool plain = Le32(frame, 0) == kInfoHeaderBytes && Le32(frame, 4) == w &&
                     Le32(frame, 8) == 2 * w && Le16(frame, 12) == 1 && Le16(frame, 14) == 32 &&
                     Le32(frame, 16) == 0 /* BI_RGB */ && Le32(frame, 32) == 0 /* no colours */;
  if (!plain) return std::nullopt;

  ExactIconFrame out;
  out.picture.width = size;
  out.picture.height = size;
  out.picture.hasAlpha = true;
  out.picture.bgra.resize(colourBytes);
  const uint8_t* colour = frame.data() + kInfoHeaderBytes;
  bool anyAlpha = false;
  for (size_t row = 0; row < w; ++row) {
    // Rows are stored from the bottom.
    const uint8_t* from = colour + (w - 1 - row) * w * 4;
    uint8_t* to = out.picture.bgra.data() + row * w * 4;
    for (size_t i = 0; i < w * 4; ++i) to[i] = from[i];
    for (size_t i = 3; i < w * 4 && !anyAlpha; i += 4) anyAlpha = from[i] != 0;
  }
  if (!anyAlpha) return std::nullopt;  // then the mask decides, and the system's way differs

  const uint8_t* mask = colour + colourBytes;
  const size_t outStride = (w + 15) / 16 * 2;
  out.mask.assign(outStride * w, 0);
  for (size_t row = 0; row < w; ++row) {
    const uint8_t* from = mask + (w - 1 - row) * maskStride;
    for (size_t i = 0; i < outStride; ++i) out.mask[row * outStride + i] = from[i];
  }
  return out;
}

}  // namespace nestova::imagelist
