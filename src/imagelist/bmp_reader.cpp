#include "imagelist/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string>
#include <vector>

namespace nestova::imagelist {
namespace {

constexpr size_t kFileHeaderBytes = 14;

constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kInfoRgbMasksHeaderBytes = 52;
constexpr uint32_t kInfoRgbaMasksHeaderBytes = 56;
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kV5HeaderBytes = 124;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void Fail(const char* what) { throw DecodeError(std::string("bitmap: ") + what); }

uint16_t Le16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

uint32_t Le32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel, described by its bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(uint32_t m = 0)
      : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}

  uint8_t From(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    const uint32_t max = (uint32_t{1} << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};

bool Contiguous(uint32_t mask) {
  const uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

using Colour = std::array<uint8_t, 4>;  // blue, green, red, alpha

struct Header {
  uint32_t size = 0;
  int width = 0;
  int height = 0;  // rows of the colour image
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t sizeImage = 0;
  bool rawBgra = false;             // 32-bit BI_RGB: bytes kept as they are
  std::array<Channel, 4> channels;  // red, green, blue, alpha for 16 and 32 bits
  uint64_t tableStart = 0;          // after the header and any mask words
  uint64_t tableEnd = 0;            // after the palette or colour table
  std::vector<Colour> palette;      // only for 1, 4 and 8 bits
};

bool IsRle(const Header& h) { return h.compression == kBiRle8 || h.compression == kBiRle4; }

void CheckBitCount(const Header& h, bool core) {
  const int b = h.bitCount;
  bool ok = false;
  if (core) {
    ok = b == 1 || b == 4 || b == 8 || b == 24;
  } else if (h.compression == kBiRgb) {
    ok = b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32;
  } else if (h.compression == kBiRle8) {
    ok = b == 8;
  } else if (h.compression == kBiRle4) {
    ok = b == 4;
  } else if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    ok = b == 16 || b == 32;
  } else {
    Fail("unsupported compression");
  }
  if (!ok) Fail("bit count does not suit the compression");
}

void ReadMasks(std::span<const uint8_t> dib, Header& h) {
  std::array<uint32_t, 4> masks{};
  if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    if (h.size == kInfoHeaderBytes) {
      // The plain info header keeps its masks in words right after it.
      const size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
      if (dib.size() < kInfoHeaderBytes + 4 * count) Fail("truncated colour masks");
      for (size_t i = 0; i < count; ++i) masks[i] = Le32(dib, kInfoHeaderBytes + 4 * i);
      h.tableStart = kInfoHeaderBytes + 4 * count;
    } else {
      for (size_t i = 0; i < 3; ++i) masks[i] = Le32(dib, 40 + 4 * i);
      if (h.size >= kInfoRgbaMasksHeaderBytes) masks[3] = Le32(dib, 52);
    }
    const uint64_t limit = h.bitCount == 16 ? 0xFFFF : 0xFFFFFFFF;
    uint32_t seen = 0;
    for (size_t i = 0; i < 4; ++i) {
      const uint32_t m = masks[i];
      if (m == 0) {
        if (i < 3) Fail("empty colour mask");
        continue;
      }
      if (m > limit || !Contiguous(m)) Fail("colour mask does not fit the pixel");
      if (seen & m) Fail("overlapping colour masks");
      seen |= m;
    }
  } else if (h.bitCount == 16) {
    masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (h.bitCount == 32) {
    h.rawBgra = true;
  }
  for (size_t i = 0; i < 4; ++i) h.channels[i] = Channel(masks[i]);
}

// Reads the header and the masks; the palette is located, not yet read.
Header ParseHeader(std::span<const uint8_t> dib, DibKind kind) {
  if (dib.size() < 4) Fail("truncated header");
  Header h;
  h.size = Le32(dib, 0);
  const bool core = h.size == kCoreHeaderBytes;
  if (!core && h.size != kInfoHeaderBytes && h.size != kInfoRgbMasksHeaderBytes &&
      h.size != kInfoRgbaMasksHeaderBytes && h.size != kV4HeaderBytes && h.size != kV5HeaderBytes)
    Fail("unsupported header size");
  if (dib.size() < h.size) Fail("truncated header");

  int64_t width = 0;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  if (core) {
    width = Le16(dib, 4);
    height = Le16(dib, 6);
    h.bitCount = Le16(dib, 10);
  } else {
    width = static_cast<int32_t>(Le32(dib, 4));
    height = static_cast<int32_t>(Le32(dib, 8));
    h.bitCount = Le16(dib, 14);
    h.compression = Le32(dib, 16);
    h.sizeImage = Le32(dib, 20);
    colorsUsed = Le32(dib, 32);
  }
  if (height < 0) {
    h.topDown = true;
    height = -height;  // int64: INT32_MIN negates safely
  }
  if (kind == DibKind::kIconFrame) {
    if (h.topDown) Fail("icon frame rows must be bottom-up");
    height /= 2;  // the mask rows follow the colour rows
  }
  if (width <= 0 || height <= 0) Fail("empty or negative size");
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPicturePixels)
    Fail("picture too large");
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);

  CheckBitCount(h, core);
  if (IsRle(h) && h.topDown) Fail("compressed rows must be bottom-up");
  if (IsRle(h) && kind == DibKind::kIconFrame) Fail("icon frames are not compressed");

  h.tableStart = h.size;
  ReadMasks(dib, h);

  const uint64_t entryBytes = core ? 3 : 4;
  uint64_t entries = colorsUsed;
  if (h.bitCount <= 8) {
    const uint32_t full = uint32_t{1} << h.bitCount;
    if (colorsUsed > full) Fail("palette larger than the bit count allows");
    if (core || colorsUsed == 0) entries = full;
  }
  h.tableEnd = h.tableStart + entries * entryBytes;
  return h;
}

void ReadPalette(std::span<const uint8_t> dib, Header& h) {
  const size_t entryBytes = h.size == kCoreHeaderBytes ? 3 : 4;
  const size_t count = static_cast<size_t>((h.tableEnd - h.tableStart) / entryBytes);
  h.palette.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = static_cast<size_t>(h.tableStart) + i * entryBytes;
    h.palette[i] = {dib[at], dib[at + 1], dib[at + 2], 0};
  }
}

class Canvas {
 public:
  Canvas(const Header& h, Picture& picture) : header_(h), picture_(picture) {
    picture_.width = h.width;
    picture_.height = h.height;
    picture_.hasAlpha = h.rawBgra || (h.bitCount == 32 && h.channels[3].bits > 0);
    picture_.bgra.assign(static_cast<size_t>(h.width) * static_cast<size_t>(h.height) * 4, 0);
  }

  // Row `stored` counts in the order of the data: from the bottom unless the
  // rows are top-down.
  uint8_t* Row(int stored) {
    const int top = header_.topDown ? stored : header_.height - 1 - stored;
    return picture_.bgra.data() + static_cast<size_t>(top) * header_.width * 4;
  }

  void PutIndex(uint8_t* at, uint32_t index) const {
    if (index >= header_.palette.size()) Fail("palette index beyond the palette");
    const Colour& c = header_.palette[index];
    at[0] = c[0];
    at[1] = c[1];
    at[2] = c[2];
    at[3] = 0;
  }

  void PutMasked(uint8_t* at, uint32_t pixel) const {
    const auto& ch = header_.channels;
    at[0] = ch[2].From(pixel);
    at[1] = ch[1].From(pixel);
    at[2] = ch[0].From(pixel);
    at[3] = header_.bitCount == 32 ? ch[3].From(pixel) : 0;
  }

 private:
  const Header& header_;
  Picture& picture_;
};

void DecodeRow(const Header& h, const Canvas& canvas, const uint8_t* src, uint8_t* out) {
  for (int x = 0; x < h.width; ++x, out += 4) {
    switch (h.bitCount) {
      case 1:
        canvas.PutIndex(out, (src[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        canvas.PutIndex(out, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
        break;
      case 8:
        canvas.PutIndex(out, src[x]);
        break;
      case 16:
        canvas.PutMasked(out,
                         static_cast<uint32_t>(src[size_t{2} * x] | (src[size_t{2} * x + 1] << 8)));
        break;
      case 24:
        out[0] = src[size_t{3} * x];
        out[1] = src[size_t{3} * x + 1];
        out[2] = src[size_t{3} * x + 2];
        out[3] = 0;
        break;
      default: {  // 32
        const uint8_t* p = src + 4 * static_cast<size_t>(x);
        if (h.rawBgra) {
          out[0] = p[0];
          out[1] = p[1];
          out[2] = p[2];
          out[3] = p[3];
        } else {
          canvas.PutMasked(out, Le32(std::span<const uint8_t>(p, 4), 0));
        }
        break;
      }
    }
  }
}

// Rows are padded to whole 32-bit words.
uint64_t RowStride(const Header& h) {
  return (static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.bitCount) + 31) / 32 * 4;
}

// The caller has checked that all rows lie inside `dib`.
size_t DecodeRows(std::span<const uint8_t> dib, const Header& h, Canvas& canvas,
                  size_t pixelOffset) {
  const uint64_t stride = RowStride(h);
  const uint64_t bytes = stride * static_cast<uint64_t>(h.height);
  for (int r = 0; r < h.height; ++r) {
    const uint8_t* src = dib.data() + pixelOffset + static_cast<size_t>(stride) * r;
    DecodeRow(h, canvas, src, canvas.Row(r));
  }
  return pixelOffset + static_cast<size_t>(bytes);
}

// RLE8 and RLE4: runs of one index (RLE4: two alternating indices), absolute
// runs padded to 16 bits, and escapes for end of line, end of bitmap and a
// move right and up. Pixels past the row's end are dropped; a move past the
// last row ends the bitmap, as does the end of the data between two codes.
size_t DecodeRle(std::span<const uint8_t> dib, const Header& h, Canvas& canvas,
                 size_t pixelOffset) {
  size_t length = dib.size() - pixelOffset;
  if (h.sizeImage != 0) {
    if (h.sizeImage > length) Fail("truncated pixel data");
    length = h.sizeImage;
  }
  const std::span<const uint8_t> d = dib.subspan(pixelOffset, length);
  const bool four = h.compression == kBiRle4;
  const int w = h.width;
  int x = 0;
  int y = 0;
  size_t pos = 0;
  auto put = [&](uint32_t index) {
    if (x < w) canvas.PutIndex(canvas.Row(y) + static_cast<size_t>(x) * 4, index);
    ++x;
  };
  while (pos < d.size() && y < h.height) {
    if (d.size() - pos < 2) Fail("RLE data cut short");
    const uint8_t count = d[pos];
    const uint8_t value = d[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < w; ++i) {
        put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (d.size() - pos < 2) Fail("RLE data cut short");
      x = std::min(x + d[pos], w);
      y += d[pos + 1];
      pos += 2;
    } else {  // absolute run of `value` indices
      const size_t bytes = four ? (value + 1u) / 2 : value;
      if (d.size() - pos < bytes) Fail("RLE data cut short");
      for (int i = 0; i < value && x < w; ++i) {
        put(four ? ((i & 1) ? d[pos + i / 2] & 0xF : d[pos + i / 2] >> 4) : d[pos + i]);
      }
      pos += bytes + (bytes & 1);  // a missing pad byte at the very end is harmless
    }
  }
  return pixelOffset + length;
}

}  // namespace

DibInfo ReadDibInfo(std::span<const uint8_t> dib, DibKind kind) {
  const Header h = ParseHeader(dib, kind);
  return {h.width, h.height, h.bitCount};
}

DibImage ReadDib(std::span<const uint8_t> dib, DibKind kind, std::optional<size_t> pixelOffset) {
  Header h = ParseHeader(dib, kind);
  // The palette must lie inside the data; a colour table of deeper pictures
  // only matters where it decides where the rows start.
  if ((h.bitCount <= 8 || !pixelOffset) && h.tableEnd > dib.size()) Fail("truncated palette");
  if (h.bitCount <= 8) ReadPalette(dib, h);

  size_t rows = 0;
  if (pixelOffset) {
    rows = *pixelOffset;
    const uint64_t tables = h.bitCount <= 8 ? h.tableEnd : h.tableStart;
    if (rows < tables) Fail("pixel data overlaps the header or palette");
    if (rows > dib.size()) Fail("pixel data offset past the end");
  } else {
    rows = static_cast<size_t>(h.tableEnd);
  }

  DibImage image;
  image.bitCount = h.bitCount;
  if (!IsRle(h)) {
    // Checked before the picture is sized: a short file never allocates.
    if (RowStride(h) * static_cast<uint64_t>(h.height) > dib.size() - rows)
      Fail("truncated pixel data");
  }
  Canvas canvas(h, image.picture);
  image.pixelEnd = IsRle(h) ? DecodeRle(dib, h, canvas, rows) : DecodeRows(dib, h, canvas, rows);
  return image;
}

Picture ReadBmp(std::span<const uint8_t> file) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') Fail("no BM signature");
  if (file.size() < kFileHeaderBytes) Fail("truncated file header");
  const uint32_t offBits = Le32(file, 10);
  if (offBits < kFileHeaderBytes) Fail("pixel data offset inside the file header");
  return ReadDib(file.subspan(kFileHeaderBytes), DibKind::kBitmap, offBits - kFileHeaderBytes)
      .picture;
}

}  // namespace nestova::imagelist
