// Any bytes as a PNG file. Two ways in: a file as it comes and the same
// file with every chunk CRC set right (so that mutations reach past the
// CRC check); and, for input without the PNG signature, a valid file built
// around the bytes as raw filtered rows (so that mutations reach the filters
// and pixel conversion instead of dying in zlib). Whatever decodes has the
// promised size and alpha; everything else is a DecodeError.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "imagelist/png_decoder.h"

namespace {

using nestova::imagelist::DecodeError;
using nestova::imagelist::DecodePng;
using nestova::imagelist::kMaxPicturePixels;
using nestova::imagelist::Picture;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t Big32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void PutBig32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

void Check(std::span<const uint8_t> file) {
  Picture p;
  try {
    p = DecodePng(file);
  } catch (const DecodeError&) {
    return;
  }
  if (p.width <= 0 || p.height <= 0) std::abort();
  const uint64_t pixels = uint64_t(p.width) * uint64_t(p.height);
  if (pixels > kMaxPicturePixels || p.bgra.size() != pixels * 4) std::abort();
  // The colour type sits right after the IHDR's size and depth; types with
  // an alpha channel always give alpha.
  const uint8_t colourType = file[25];
  if ((colourType == 4 || colourType == 6) && !p.hasAlpha) std::abort();
  if (!p.hasAlpha) {
    for (size_t i = 3; i < p.bgra.size(); i += 4) {
      if (p.bgra[i] != 0) std::abort();
    }
  }
}

// The file with each whole chunk's CRC computed anew.
Bytes WithRightCrcs(const uint8_t* data, size_t size) {
  Bytes file(data, data + size);
  for (size_t pos = 8; size - pos >= 12;) {
    const uint32_t length = Big32(&file[pos]);
    if (length > size - pos - 12) break;
    PutBig32(&file[pos + 8 + length],
             static_cast<uint32_t>(crc32(0, &file[pos + 4], static_cast<uInt>(4 + length))));
    pos += 12 + size_t{length};
  }
  return file;
}

void AppendChunk(Bytes& out, const char* type, const uint8_t* data, size_t size) {
  const size_t start = out.size();
  out.resize(start + 12 + size);
  PutBig32(&out[start], static_cast<uint32_t>(size));
  std::memcpy(&out[start + 4], type, 4);
  if (size != 0) std::memcpy(&out[start + 8], data, size);
  PutBig32(&out[start + 8 + size],
           static_cast<uint32_t>(crc32(0, &out[start + 4], static_cast<uInt>(4 + size))));
}

// Input: colour type, depth, flags (1 interlace, 2 tRNS, 4 gAMA), width,
// height, for palettes the entry count and the entries, then the raw rows.
Bytes BuildAround(const uint8_t* data, size_t size) {
  static constexpr uint8_t kTypes[5] = {0, 2, 3, 4, 6};
  static constexpr uint8_t kDepths[5][5] = {
      {1, 2, 4, 8, 16}, {8, 16, 8, 16, 8}, {1, 2, 4, 8, 1}, {8, 16, 8, 16, 8}, {8, 16, 8, 16, 8}};
  Bytes file(kSignature, kSignature + 8);
  if (size < 5) return file;
  const int t = data[0] % 5;
  const uint8_t type = kTypes[t];
  const uint8_t depth = kDepths[t][data[1] % 5];
  const uint8_t flags = data[2];
  const uint32_t width = data[3] + 1u;
  const uint32_t height = data[4] % 64 + 1u;
  size_t pos = 5;
  uint8_t header[13];
  PutBig32(header, width);
  PutBig32(header + 4, height);
  header[8] = depth;
  header[9] = type;
  header[10] = 0;
  header[11] = 0;
  header[12] = flags & 1;
  AppendChunk(file, "IHDR", header, sizeof header);
  if (flags & 4) {
    const uint8_t gamma[4] = {0, static_cast<uint8_t>(flags >> 3), 0x86, 0xA0};
    AppendChunk(file, "gAMA", gamma, 4);
  }
  if (type == 3 && pos < size) {
    const size_t wanted = data[pos++] + 1u;
    const size_t entries = std::min<size_t>(wanted, (size - pos) / 3);
    if (entries > 0) AppendChunk(file, "PLTE", data + pos, entries * 3);
    pos += entries * 3;
    if ((flags & 2) && entries > 0) AppendChunk(file, "tRNS", data + pos - entries, entries);
  } else if ((flags & 2) && (type == 0 || type == 2)) {
    const size_t length = type == 0 ? 2 : 6;
    if (size - pos >= length) AppendChunk(file, "tRNS", data + pos, length);
  }
  Bytes z(compressBound(static_cast<uLong>(size - pos)));
  uLongf zSize = static_cast<uLongf>(z.size());
  if (compress2(z.data(), &zSize, data + pos, static_cast<uLong>(size - pos), 1) != Z_OK) {
    std::abort();
  }
  AppendChunk(file, "IDAT", z.data(), zSize);
  AppendChunk(file, "IEND", nullptr, 0);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= 8 && std::memcmp(data, kSignature, 8) == 0) {
    Check({data, size});
    const Bytes fixed = WithRightCrcs(data, size);
    Check(fixed);
  } else {
    const Bytes built = BuildAround(data, size);
    Check(built);
  }
  return 0;
}
