// The sample collections as Windows will read them: an icon directory with
// the five sizes, bitmap frames for the small ones and a PNG frame that a
// real PNG decoder (libpng) accepts and that shows the same picture.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "collections.h"
#include "ico.h"
#include "png_encode.h"

namespace samplegen {
namespace {

namespace fs = std::filesystem;

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return Read16(b, at) | static_cast<uint32_t>(Read16(b, at + 2)) << 16;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded {
  bool ok = false;
  std::string error;
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

Decoded DecodeWithLibpng(const std::vector<uint8_t>& bytes) {
  Decoded out;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    out.error = image.message;
    return out;
  }
  image.format = PNG_FORMAT_RGBA;
  out.width = image.width;
  out.height = image.height;
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  out.ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
  if (!out.ok) out.error = image.message;
  png_image_free(&image);
  return out;
}

// Drawing every icon takes a while under the sanitizers, so one test writes
// the collections once and checks both the folders and the files.
struct TempFolder {
  TempFolder()
      : path(fs::temp_directory_path() / ("nestova-samples-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  fs::path path;
};

void CheckFolders(const fs::path& folder) {
  std::set<std::u8string> collections;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ASSERT_TRUE(entry.is_directory()) << entry.path();
    collections.insert(entry.path().filename().u8string());
    size_t icons = 0;
    for (const auto& file : fs::directory_iterator(entry.path())) {
      EXPECT_EQ(file.path().extension(), ".ico") << file.path();
      ++icons;
    }
    EXPECT_GE(icons, 12u) << entry.path();
  }
  EXPECT_GE(collections.size(), 2u);
  EXPECT_TRUE(collections.count(u8"Цветные папки"));
  EXPECT_TRUE(collections.count(u8"Папки со значками"));
}

void CheckFiles(const fs::path& folder) {
  const uint32_t kSizes[] = {16, 24, 32, 48, 256};
  for (const SampleCollection& collection : SampleCollections()) {
    for (const SampleIcon& icon : collection.icons) {
      const fs::path path =
          folder / fs::path(std::u8string(collection.name.begin(), collection.name.end())) /
          fs::path(std::u8string(icon.fileName.begin(), icon.fileName.end()));
      SCOPED_TRACE(path.string());
      const std::vector<uint8_t> bytes = ReadFile(path);
      ASSERT_GE(bytes.size(), 6u + 16 * 5);
      EXPECT_EQ(Read16(bytes, 0), 0);  // reserved
      EXPECT_EQ(Read16(bytes, 2), 1);  // icon
      ASSERT_EQ(Read16(bytes, 4), 5);
      uint32_t expectedOffset = 6 + 16 * 5;
      for (int i = 0; i < 5; ++i) {
        const size_t e = 6 + 16 * static_cast<size_t>(i);
        const uint32_t size = kSizes[i];
        EXPECT_EQ(bytes[e], size == 256 ? 0 : size);
        EXPECT_EQ(bytes[e + 1], size == 256 ? 0 : size);
        EXPECT_EQ(Read16(bytes, e + 4), 1);   // planes
        EXPECT_EQ(Read16(bytes, e + 6), 32);  // bits per pixel
        const uint32_t length = Read32(bytes, e + 8);
        const uint32_t offset = Read32(bytes, e + 12);
        EXPECT_EQ(offset, expectedOffset);
        ASSERT_LE(uint64_t{offset} + length, bytes.size());
        expectedOffset = offset + length;
        const std::vector<uint8_t> frame(bytes.begin() + offset, bytes.begin() + offset + length);
        if (size == 256) {
          const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
          ASSERT_TRUE(std::equal(std::begin(signature), std::end(signature), frame.begin()));
          const Decoded png = DecodeWithLibpng(frame);
          ASSERT_TRUE(png.ok) << png.error;
          EXPECT_EQ(png.width, 256u);
          EXPECT_EQ(png.height, 256u);
          // The corners are see-through and the folder body is opaque.
          EXPECT_EQ(png.rgba[3], 0);
          EXPECT_EQ(png.rgba[(200 * 256 + 128) * 4 + 3], 255);
        } else {
          EXPECT_EQ(Read32(frame, 0), 40u);  // BITMAPINFOHEADER
          EXPECT_EQ(Read32(frame, 4), size);
          EXPECT_EQ(Read32(frame, 8), size * 2);
          EXPECT_EQ(length, 40 + size * size * 4 + (size + 31) / 32 * 4 * size);
        }
      }
      EXPECT_EQ(expectedOffset, bytes.size());
    }
  }
}

TEST(SampleCollections, TwoFoldersOfTwelveFiveSizeIconsWithAPng256Frame) {
  const TempFolder icons;
  WriteSampleCollections(icons.path.string());
  CheckFolders(icons.path);
  CheckFiles(icons.path);
}

// The PNG encoder keeps every pixel exactly, with straight alpha.
TEST(EncodePng, DecodesToTheSamePixels) {
  artgen::Image image(3, 2);
  image.At(0, 0) = {1, 0, 0, 1};
  image.At(1, 0) = {0, 1, 0, 0.5f};
  image.At(2, 0) = {0.2f, 0.4f, 0.6f, 0};  // hidden: stored as all zero
  image.At(0, 1) = {0, 0, 1, 1};
  image.At(1, 1) = {1, 1, 1, 0.2f};
  image.At(2, 1) = {0.5f, 0.5f, 0.5f, 1};
  const Decoded png = DecodeWithLibpng(artgen::EncodePng(image));
  ASSERT_TRUE(png.ok) << png.error;
  EXPECT_EQ(png.width, 3u);
  EXPECT_EQ(png.height, 2u);
  const std::vector<uint8_t> expected = {255, 0, 0,   255, 0,   255, 0,   128, 0,   0,   0,   0,
                                         0,   0, 255, 255, 255, 255, 255, 51,  128, 128, 128, 255};
  EXPECT_EQ(png.rgba, expected);
}

// Only the 256 px frame becomes PNG; smaller ones stay bitmaps for the
// Windows versions and tools that read nothing else.
TEST(EncodeIco, StoresOnly256PixelFramesAsPng) {
  const std::vector<artgen::Image> images = {artgen::Image(256, 256), artgen::Image(48, 48)};
  const std::vector<uint8_t> bitmaps = artgen::EncodeIco(images);
  const std::vector<uint8_t> mixed = artgen::EncodeIco(images, artgen::IcoFrames::kPng256);
  const size_t second = 6 + 16;
  EXPECT_EQ(Read32(mixed, 6 + 8), Read32(bitmaps, 6 + 8));  // the 48 px frame is unchanged
  EXPECT_EQ(Read32(bitmaps, Read32(bitmaps, second + 12)), 40u);
  const uint32_t pngAt = Read32(mixed, second + 12);
  EXPECT_EQ(mixed[pngAt], 0x89);
  EXPECT_EQ(mixed[pngAt + 1], 'P');
  EXPECT_EQ(pngAt + Read32(mixed, second + 8), mixed.size());
}

}  // namespace
}  // namespace samplegen
