// Icon resources in small image lists: straight from the frame's bytes where
// the resource has a plain frame of the size, through the system otherwise.
// Either way the list must hold what the system's own loading puts there.
#include <gtest/gtest.h>

#include <string>

#include "image_fixtures.h"
#include "imagelist/ico_reader.h"
#include "imagelist/icon_exact_frame.h"
#include "imagelist/icon_resource.h"
#include "test_icons.h"

namespace nestova::imagelist {
namespace {

using namespace testing;

// The system's way: an icon loaded at the size and copied into a list.
platform::UniqueImageList SystemImage(HMODULE module, int id, int size) {
  platform::UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, 1, 0));
  const platform::UniqueIcon icon(static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  ::ImageList_ReplaceIcon(list.get(), -1, icon.get());
  return list;
}

Argb Colour(HIMAGELIST list) {
  IMAGEINFO info{};
  EXPECT_TRUE(::ImageList_GetImageInfo(list, 0, &info));
  return ReadBitmap(info.hbmImage);
}

TEST(IconResource, TheListHoldsWhatTheSystemLoads) {
  struct Case {
    int id;
    int size;
    const char* why;
  };
  const Case cases[] = {
      {IDI_TEST_GLYPH, 16, "a frame of the size"},
      {IDI_TEST_GLYPH, 20, "a frame of the size"},
      {IDI_TEST_GLYPH, 32, "the largest frame"},
      {IDI_TEST_GLYPH, 28, "no frame of the size: scaled by the system"},
      {IDI_TEST_GLYPH, 12, "no frame of the size: scaled down"},
      {IDI_TEST_APP, 20, "another icon without that size"},
      {IDI_TEST_APP, 48, "another icon with it"},
  };
  HMODULE module = ::GetModuleHandleW(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " at " + std::to_string(c.size) + ": " + c.why);
    const platform::UniqueImageList ours = LoadIconResourceImage(module, c.id, c.size);
    const platform::UniqueImageList system = SystemImage(module, c.id, c.size);
    ASSERT_EQ(::ImageList_GetImageCount(ours.get()), 1);
    ASSERT_EQ(::ImageList_GetImageCount(system.get()), 1);
    EXPECT_EQ(Colour(ours.get()).pixels, Colour(system.get()).pixels);
    for (uint32_t background : {0xFFFFFFu, 0x000000u, 0x3080C0u}) {
      EXPECT_EQ(DrawImage(ours.get(), 0, background).pixels,
                DrawImage(system.get(), 0, background).pixels);
    }
  }
}

TEST(IconResource, TheGroupBecomesAnIconFileWithEveryFrame) {
  const std::vector<uint8_t> file =
      IconFileFromResource(::GetModuleHandleW(nullptr), IDI_TEST_GLYPH);
  const std::vector<IconFrame> frames = ReadIconDirectory(file);
  ASSERT_EQ(frames.size(), 4u);
  const int sizes[] = {16, 20, 24, 32};
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].width, sizes[i]);
    EXPECT_EQ(frames[i].bitCount, 32);
    EXPECT_EQ(DecodeIconDibFrame(file, frames[i]).width, sizes[i]);
  }
  // So the list's own route takes the sizes it has and leaves the others.
  EXPECT_TRUE(ReadExactIconFrame(file, 20));
  EXPECT_FALSE(ReadExactIconFrame(file, 28));
}

TEST(IconResource, AMissingIconGivesAnEmptyList) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  EXPECT_TRUE(IconFileFromResource(module, 999).empty());
  const platform::UniqueImageList list = LoadIconResourceImage(module, 999, 16);
  ASSERT_TRUE(list);
  EXPECT_EQ(::ImageList_GetImageCount(list.get()), 0);
}

}  // namespace
}  // namespace nestova::imagelist
