#include "imagelist/ico_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "imagelist/bmp_reader.h"

namespace nestova::imagelist {
namespace {

constexpr size_t kDirectoryHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr uint16_t kIconType = 1;
constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, IHDR length and type, then width, height, depth and colour type.
constexpr size_t kPngHeaderBytes = 8 + 8 + 10;
constexpr int kDisplayBits = 32;

[[noreturn]] void Fail(const char* what) { throw DecodeError(std::string("icon: ") + what); }

uint16_t Le16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

uint32_t Le32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(Le16(d, at)) | (static_cast<uint32_t>(Le16(d, at + 2)) << 16);
}

uint32_t Be32(std::span<const uint8_t> d, size_t at) {
  return (static_cast<uint32_t>(d[at]) << 24) | (static_cast<uint32_t>(d[at + 1]) << 16) |
         (static_cast<uint32_t>(d[at + 2]) << 8) | d[at + 3];
}

bool IsPng(std::span<const uint8_t> frame) {
  return frame.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), frame.begin());
}

// Bits per pixel of a valid IHDR depth and colour type; 0 for an invalid pair.
int PngBitsPerPixel(uint8_t depth, uint8_t colourType) {
  const auto oneOf = [depth](std::initializer_list<int> allowed) {
    return std::find(allowed.begin(), allowed.end(), depth) != allowed.end();
  };
  switch (colourType) {
    case 0:  // greyscale
      return oneOf({1, 2, 4, 8, 16}) ? depth : 0;
    case 2:  // truecolour
      return oneOf({8, 16}) ? 3 * depth : 0;
    case 3:  // palette
      return oneOf({1, 2, 4, 8}) ? depth : 0;
    case 4:  // greyscale with alpha
      return oneOf({8, 16}) ? 2 * depth : 0;
    case 6:  // truecolour with alpha
      return oneOf({8, 16}) ? 4 * depth : 0;
    default:
      return 0;
  }
}

void ReadPngHeader(std::span<const uint8_t> frame, IconFrame& out) {
  if (frame.size() < kPngHeaderBytes) Fail("truncated PNG header");
  static constexpr uint8_t kIhdr[4] = {'I', 'H', 'D', 'R'};
  if (Be32(frame, 8) != 13 || !std::equal(kIhdr, kIhdr + 4, frame.begin() + 12))
    Fail("PNG frame does not start with IHDR");
  const uint32_t width = Be32(frame, 16);
  const uint32_t height = Be32(frame, 20);
  // PNG limits both to 2^31 - 1.
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    Fail("PNG frame has a bad size");
  const int bits = PngBitsPerPixel(frame[24], frame[25]);
  if (bits == 0) Fail("PNG frame has a bad depth or colour type");
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.bitCount = bits;
  out.isPng = true;
}

std::span<const uint8_t> FrameBytes(std::span<const uint8_t> file, const IconFrame& frame) {
  if (frame.offset > file.size() || frame.size > file.size() - frame.offset)
    Fail("frame lies outside the file");
  return file.subspan(frame.offset, frame.size);
}

uint64_t MaskStride(int width) { return (static_cast<uint64_t>(width) + 31) / 32 * 4; }

}  // namespace

std::vector<IconFrame> ReadIconDirectory(std::span<const uint8_t> file) {
  if (file.size() < kDirectoryHeaderBytes) Fail("truncated directory");
  if (Le16(file, 0) != 0 || Le16(file, 2) != kIconType) Fail("not an icon directory");
  const size_t count = Le16(file, 4);
  if (count == 0) Fail("no images");
  const size_t directoryEnd = kDirectoryHeaderBytes + kEntryBytes * count;
  if (file.size() < directoryEnd) Fail("truncated directory");

  std::vector<IconFrame> frames;
  frames.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = kDirectoryHeaderBytes + kEntryBytes * i;
    IconFrame frame{};
    frame.size = Le32(file, entry + 8);
    frame.offset = Le32(file, entry + 12);
    if (frame.size == 0) Fail("empty frame");
    if (frame.offset < directoryEnd) Fail("frame overlaps the directory");
    const std::span<const uint8_t> bytes = FrameBytes(file, frame);
    if (IsPng(bytes)) {
      ReadPngHeader(bytes, frame);
    } else {
      const DibInfo info = ReadDibInfo(bytes, DibKind::kIconFrame);
      frame.width = info.width;
      frame.height = info.height;
      frame.bitCount = info.bitCount;
    }
    frames.push_back(frame);
  }
  return frames;
}

Picture DecodeIconDibFrame(std::span<const uint8_t> file, const IconFrame& frame) {
  if (frame.isPng) throw std::invalid_argument("PNG frames go to the PNG decoder");
  const std::span<const uint8_t> bytes = FrameBytes(file, frame);
  DibImage image = ReadDib(bytes, DibKind::kIconFrame);
  Picture& picture = image.picture;
  const int w = picture.width;
  const int h = picture.height;

  const uint64_t stride = MaskStride(w);
  const uint64_t maskBytes = stride * static_cast<uint64_t>(h);
  const size_t left = bytes.size() - image.pixelEnd;
  const bool hasMask = left != 0;
  if (hasMask && left < maskBytes) Fail("truncated mask");

  bool keepAlpha = false;
  if (image.bitCount == 32) {
    for (size_t i = 3; i < picture.bgra.size(); i += 4) {
      if (picture.bgra[i] != 0) {
        keepAlpha = true;
        break;
      }
    }
  }
  picture.hasAlpha = true;
  if (keepAlpha) return std::move(picture);

  for (int row = 0; row < h; ++row) {
    // Mask rows are bottom-up, like the colour rows.
    const uint8_t* mask =
        bytes.data() + image.pixelEnd + static_cast<size_t>(stride) * (h - 1 - row);
    uint8_t* out = picture.bgra.data() + static_cast<size_t>(row) * w * 4;
    for (int x = 0; x < w; ++x, out += 4) {
      const bool transparent = hasMask && ((mask[x >> 3] >> (7 - (x & 7))) & 1);
      if (transparent) {
        std::fill(out, out + 4, uint8_t{0});
      } else {
        out[3] = 255;
      }
    }
  }
  return std::move(picture);
}

size_t ChooseIconFrame(const std::vector<IconFrame>& frames, int wantedSize) {
  if (frames.empty()) throw std::invalid_argument("an icon has at least one frame");
  const auto distance = [wantedSize](const IconFrame& f) {
    return std::llabs(int64_t{f.width} - wantedSize) + std::llabs(int64_t{f.height} - wantedSize);
  };
  const auto area = [](const IconFrame& f) { return int64_t{f.width} * f.height; };
  const auto bits = [](const IconFrame& f) { return std::min(f.bitCount, kDisplayBits); };
  size_t best = 0;
  for (size_t i = 1; i < frames.size(); ++i) {
    const IconFrame& a = frames[i];
    const IconFrame& b = frames[best];
    if (distance(a) != distance(b)) {
      if (distance(a) < distance(b)) best = i;
    } else if (area(a) != area(b)) {
      if (area(a) > area(b)) best = i;
    } else if (bits(a) > bits(b)) {
      best = i;
    }
  }
  return best;
}

}  // namespace nestova::imagelist
