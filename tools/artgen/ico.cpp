#include "ico.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "pixels.h"
#include "png_encode.h"

namespace artgen {
namespace {

constexpr uint32_t kDirectoryHeaderSize = 6;
constexpr uint32_t kDirectoryEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// The icon directory stores 256 as 0, since the field is one byte.
uint8_t DirectorySize(int pixels) { return static_cast<uint8_t>(pixels == 256 ? 0 : pixels); }

uint32_t MaskRowBytes(int width) { return static_cast<uint32_t>((width + 31) / 32) * 4; }

void PutColourRows(std::vector<uint8_t>& out, const Image& image) {
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Bgra p = ToBgra(image.At(x, y));
      out.insert(out.end(), {p.b, p.g, p.r, p.a});
    }
  }
}

void PutMaskRows(std::vector<uint8_t>& out, const Image& image) {
  const uint32_t rowBytes = MaskRowBytes(image.width);
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    out.resize(rowStart + rowBytes, 0);
    for (int x = 0; x < image.width; ++x) {
      if (ToByte(image.At(x, y).a) == 0)
        out[rowStart + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
    }
  }
}

void CheckIconSize(const Image& image) {
  if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256)
    throw std::invalid_argument("icon images must be 1 to 256 pixels on each side");
}

uint32_t ColourBytes(const Image& image) {
  return static_cast<uint32_t>(image.width) * static_cast<uint32_t>(image.height) * 4;
}

uint32_t BitmapBytes(const Image& image) {
  return kInfoHeaderSize + ColourBytes(image) +
         MaskRowBytes(image.width) * static_cast<uint32_t>(image.height);
}

void PutBitmap(std::vector<uint8_t>& out, const Image& image) {
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height) * 2);  // colour rows and mask rows together
  Put16(out, 1);                                        // planes
  Put16(out, 32);                                       // bits per pixel
  Put32(out, 0);                                        // BI_RGB
  Put32(out, ColourBytes(image));
  for (int unused = 0; unused < 4; ++unused) Put32(out, 0);

  PutColourRows(out, image);
  PutMaskRows(out, image);
}

// One image as the file stores it: a bitmap with its mask, or a whole PNG
// file for the sizes that Windows reads as PNG.
struct Frame {
  const Image* image;
  std::vector<uint8_t> png;  // empty for a bitmap frame
  uint32_t Bytes() const {
    return png.empty() ? BitmapBytes(*image) : static_cast<uint32_t>(png.size());
  }
};

void PutDirectoryEntry(std::vector<uint8_t>& out, const Frame& frame, uint32_t offset) {
  out.push_back(DirectorySize(frame.image->width));
  out.push_back(DirectorySize(frame.image->height));
  out.push_back(0);  // palette size: none
  out.push_back(0);  // reserved
  Put16(out, 1);     // planes
  Put16(out, 32);    // bits per pixel
  Put32(out, frame.Bytes());
  Put32(out, offset);
}

void PutFrame(std::vector<uint8_t>& out, const Frame& frame) {
  if (frame.png.empty()) {
    PutBitmap(out, *frame.image);
  } else {
    out.insert(out.end(), frame.png.begin(), frame.png.end());
  }
}

bool Smaller(const Image* a, const Image* b) {
  return a->width != b->width ? a->width < b->width : a->height < b->height;
}

bool SameSize(const Image* a, const Image* b) {
  return a->width == b->width && a->height == b->height;
}

// Windows picks an entry by its size, so a second image of one size would
// never be shown.
void SortBySize(std::vector<const Image*>& images) {
  std::stable_sort(images.begin(), images.end(), Smaller);
  if (std::adjacent_find(images.begin(), images.end(), SameSize) != images.end())
    throw std::invalid_argument("an icon holds each image size only once");
}

// The file length, checked against the format's 16-bit count and 32-bit offsets.
uint32_t FileBytes(const std::vector<Frame>& frames) {
  uint64_t total = kDirectoryHeaderSize + uint64_t{kDirectoryEntrySize} * frames.size();
  for (const Frame& frame : frames) total += frame.Bytes();
  if (frames.size() > 0xFFFF || total > 0xFFFFFFFFu)
    throw std::invalid_argument("too many or too large images for one icon");
  return static_cast<uint32_t>(total);
}

std::vector<uint8_t> Encode(std::vector<const Image*> images, IcoFrames large) {
  if (images.empty()) throw std::invalid_argument("an icon needs at least one image");
  for (const Image* image : images) CheckIconSize(*image);
  SortBySize(images);
  std::vector<Frame> frames;
  for (const Image* image : images) {
    const bool asPng = large == IcoFrames::kPng256 && image->width == 256 && image->height == 256;
    frames.push_back({image, asPng ? EncodePng(*image) : std::vector<uint8_t>()});
  }

  std::vector<uint8_t> out;
  out.reserve(FileBytes(frames));
  Put16(out, 0);  // reserved
  Put16(out, 1);  // type: icon
  Put16(out, static_cast<uint32_t>(frames.size()));
  // Image data follows the directory in the same order.
  auto offset = static_cast<uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * frames.size());
  for (const Frame& frame : frames) {
    PutDirectoryEntry(out, frame, offset);
    offset += frame.Bytes();
  }
  for (const Frame& frame : frames) PutFrame(out, frame);
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<Image>& images, IcoFrames large) {
  std::vector<const Image*> pointers;
  pointers.reserve(images.size());
  for (const Image& image : images) pointers.push_back(&image);
  return Encode(std::move(pointers), large);
}

std::vector<uint8_t> EncodeIco(const Image& image) {
  return Encode({&image}, IcoFrames::kAllBitmaps);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file)
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  if (file) file.close();
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
