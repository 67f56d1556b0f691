#include "imagelist/png_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "imagelist/png_chunks.h"
#include "imagelist/png_filter.h"
#include "imagelist/png_image_data.h"
#include "imagelist/png_pixels.h"

namespace nestova::imagelist {
namespace {

using png::Chunk;
using png::ImageHeader;

constexpr uint32_t kMaxDimension = 0x7FFFFFFFu;
// Deflate gives at most 258 bytes for two bits of input.
constexpr uint64_t kMaxInflateRatio = 1032;
// Rows are inflated, unfiltered and converted a strip at a time, so that
// each byte is still in the cache for the next step.
constexpr size_t kStripBytes = size_t{64} * 1024;
// The pixel converter may read this far past a row.
constexpr size_t kRowSlack = 8;

struct Pass {
  uint32_t x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole = {0, 0, 1, 1};

bool ValidDepth(uint8_t colourType, uint8_t depth) {
  switch (colourType) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

ImageHeader ParseHeader(std::span<const uint8_t> data) {
  if (data.size() != 13) throw DecodeError("invalid IHDR length");
  ImageHeader h;
  h.width = png::ReadBig32(data.data());
  h.height = png::ReadBig32(data.data() + 4);
  h.bitDepth = data[8];
  h.colourType = data[9];
  if (h.width == 0 || h.height == 0 || h.width > kMaxDimension || h.height > kMaxDimension) {
    throw DecodeError("invalid image size");
  }
  if (uint64_t{h.width} * h.height > kMaxPicturePixels) throw DecodeError("image too large");
  if (h.colourType > 6 || !ValidDepth(h.colourType, h.bitDepth)) {
    throw DecodeError("invalid colour type or bit depth");
  }
  if (data[10] != 0) throw DecodeError("unknown compression method");
  if (data[11] != 0) throw DecodeError("unknown filter method");
  if (data[12] > 1) throw DecodeError("unknown interlace method");
  h.interlaced = data[12] == 1;
  return h;
}

uint32_t PassSize(uint32_t size, uint32_t start, uint32_t step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

class ImageDecoder {
 public:
  ImageDecoder(const ImageHeader& header, const png::ColourChunks& colours, Picture& picture)
      : header_(header),
        converter_(header, colours),
        bitsPerPixel_(png::Channels(header.colourType) * header.bitDepth),
        bpp_(std::max(1, bitsPerPixel_ / 8)),
        picture_(picture) {}

  uint64_t RowBytes(uint32_t width) const { return (uint64_t{width} * bitsPerPixel_ + 7) / 8; }

  // Inflated bytes the image needs: every row of every pass with its
  // filter byte.
  uint64_t FilteredSize() const {
    uint64_t total = 0;
    for (const Pass& p : Passes()) {
      const uint32_t w = PassSize(header_.width, p.x0, p.dx);
      const uint32_t h = PassSize(header_.height, p.y0, p.dy);
      if (w != 0 && h != 0) total += h * (RowBytes(w) + 1);
    }
    return total;
  }

  void Decode(png::ImageData& data) {
    picture_.hasAlpha = converter_.HasAlpha();
    for (const Pass& p : Passes()) {
      const uint32_t w = PassSize(header_.width, p.x0, p.dx);
      const uint32_t h = PassSize(header_.height, p.y0, p.dy);
      if (w != 0 && h != 0) DecodePass(data, p, w, h);
    }
  }

 private:
  std::span<const Pass> Passes() const {
    return header_.interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(&kWhole, 1);
  }

  void DecodePass(png::ImageData& data, const Pass& pass, uint32_t width, uint32_t rows) {
    const size_t rowBytes = static_cast<size_t>(RowBytes(width));
    const size_t stride = rowBytes + 1;  // the filter type byte comes first
    const uint32_t stripRows =
        static_cast<uint32_t>(std::clamp<size_t>(kStripBytes / stride, 1, rows));
    // One row above the strip holds the previous row, zeros before the first.
    // Inflating fills the rest before it is read, except the slack.
    const size_t slackAt = stride * (size_t{stripRows} + 1);
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(slackAt + kRowSlack);
    std::memset(buffer_.get(), 0, stride);
    std::memset(buffer_.get() + slackAt, 0, kRowSlack);
    const size_t outStride = size_t{header_.width} * 4;
    if (pass.dx != 1) scatter_.assign(size_t{width} * 4, 0);
    uint8_t* const base = buffer_.get();
    const bool plain = converter_.PlainTruecolour();

    for (uint32_t y = 0; y < rows;) {
      const uint32_t n = std::min(stripRows, rows - y);
      data.Read(base + stride, stride * n);
      for (uint32_t r = 0; r < n; ++r, ++y) {
        uint8_t* line = base + stride * (r + 1);
        uint8_t* out = picture_.bgra.data() + (size_t{pass.y0} + size_t{y} * pass.dy) * outStride;
        uint8_t* const pixels = pass.dx == 1 ? out : scatter_.data();
        if (!plain ||
            !png::UnfilterRowToBgra(line[0], line + 1, line + 1 - stride, rowBytes, bpp_, pixels)) {
          png::UnfilterRow(line[0], line + 1, line + 1 - stride, rowBytes, bpp_);
          converter_.Convert(line + 1, pixels, width);
        }
        if (pass.dx != 1) {
          for (uint32_t x = 0; x < width; ++x) {
            std::memcpy(out + (size_t{pass.x0} + size_t{x} * pass.dx) * 4, &scatter_[4 * size_t{x}],
                        4);
          }
        }
      }
      std::memcpy(base + 1, base + stride * n + 1, rowBytes);
    }
  }

  const ImageHeader& header_;
  png::PixelConverter converter_;
  int bitsPerPixel_;
  size_t bpp_;
  Picture& picture_;
  std::unique_ptr<uint8_t[]> buffer_;
  std::vector<uint8_t> scatter_;
};

}  // namespace

Picture DecodePng(std::span<const uint8_t> data) {
  png::ChunkReader chunks(data);
  std::optional<Chunk> chunk = chunks.Next();
  if (!chunk || chunk->type != png::kIHDR) throw DecodeError("missing IHDR");
  const ImageHeader header = ParseHeader(chunk->data);

  // The chunks before the image data. Broken ancillary chunks are skipped,
  // as they may be.
  png::ColourChunks colours;
  bool seenPalette = false;
  bool seenTransparency = false;
  bool seenGamma = false;
  for (;;) {
    chunk = chunks.Next();
    if (!chunk) throw DecodeError("missing IDAT");
    const std::span<const uint8_t> body = chunk->data;
    if (chunk->type == png::kIDAT) break;
    if (chunk->type == png::kIHDR) throw DecodeError("duplicate IHDR");
    if (chunk->type == png::kIEND) throw DecodeError("missing IDAT");
    if (chunk->type == png::kPLTE) {
      if (seenPalette) throw DecodeError("duplicate PLTE");
      seenPalette = true;
      // Greyscale has no use for a palette and truecolour only a suggested
      // one: only a palette picture's own is read.
      if (header.colourType == 3) {
        if (body.empty() || body.size() % 3 != 0 || body.size() > size_t{256} * 3) {
          throw DecodeError("invalid palette length");
        }
        colours.palette = body;
      }
    } else if (chunk->type == png::kTRNS) {
      if (seenTransparency) continue;
      seenTransparency = true;
      const bool valid = (header.colourType == 0 && body.size() == 2) ||
                         (header.colourType == 2 && body.size() == 6) ||
                         (header.colourType == 3 && !colours.palette.empty() && !body.empty() &&
                          body.size() <= colours.palette.size() / 3);
      if (valid) {
        colours.transparency = body;
        colours.hasTransparency = true;
      }
    } else if (chunk->type == png::kGAMA) {
      if (seenGamma || seenPalette || body.size() != 4) continue;
      seenGamma = true;
      colours.gamma = png::ReadBig32(body.data());
    } else if (png::IsCritical(chunk->type)) {
      throw DecodeError("unknown critical chunk " + png::ChunkName(chunk->type));
    }
  }
  if (header.colourType == 3 && colours.palette.empty()) throw DecodeError("missing PLTE");

  Picture picture;
  ImageDecoder decoder(header, colours, picture);
  // Refused before the picture is sized: no file this short inflates to so
  // much.
  if (decoder.FilteredSize() > kMaxInflateRatio * data.size()) {
    throw DecodeError("not enough image data");
  }
  picture.width = static_cast<int>(header.width);
  picture.height = static_cast<int>(header.height);
  picture.bgra.resize(static_cast<size_t>(uint64_t{header.width} * header.height * 4));
  {
    png::ImageData imageData(chunks, *chunk);
    decoder.Decode(imageData);
    chunk = imageData.Finish();
  }

  // The chunks after the image data, up to IEND.
  for (;; chunk = chunks.Next()) {
    if (!chunk) throw DecodeError("missing IEND");
    if (chunk->type == png::kIEND) return picture;
    if (chunk->type == png::kIDAT) throw DecodeError("IDAT chunks not consecutive");
    if (chunk->type == png::kIHDR) throw DecodeError("duplicate IHDR");
    if (chunk->type == png::kPLTE) throw DecodeError("misplaced PLTE");
    if (png::IsCritical(chunk->type)) {
      throw DecodeError("unknown critical chunk " + png::ChunkName(chunk->type));
    }
  }
}

}  // namespace nestova::imagelist
