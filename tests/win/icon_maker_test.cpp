// Icons made from pictures: their colour and mask bits, as the system image
// list gets them.
#include "imagelist/icon_maker.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"
#include "platform/text.h"
#include "temp_folder.h"

namespace nestova::imagelist {
namespace {

using namespace testing;

// 0xAARRGGBB pixels as a decoder gives them.
Picture PictureOf(const Argb& argb, bool hasAlpha) {
  Picture picture{argb.width, argb.height, hasAlpha, {}};
  for (uint32_t p : argb.pixels) {
    picture.bgra.insert(picture.bgra.end(),
                        {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                         static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 24)});
  }
  return picture;
}

struct IconBits {
  Argb colour;
  Argb mask;  // 0xFFFFFF where the mask bit is 1 (transparent), 0 elsewhere
};

IconBits BitsOf(const platform::UniqueIcon& icon) {
  ICONINFO info{};
  EXPECT_TRUE(::GetIconInfo(icon.get(), &info));
  const platform::UniqueBitmap colour(info.hbmColor);
  const platform::UniqueBitmap mask(info.hbmMask);
  IconBits bits{ReadBitmap(colour.get()), ReadBitmap(mask.get())};
  for (uint32_t& p : bits.mask.pixels) p &= 0xFFFFFF;
  return bits;
}

// 4 x 2: white key, black, red, white / white, white, white-but-alpha, blue.
Argb Keyed() {
  return {4,
          2,
          {0x00FFFFFF, 0x00000000, 0x00FF0000, 0x00FFFFFF,  //
           0x00FFFFFF, 0x00FFFFFF, 0x10FFFFFF, 0x000000FF}};
}

TEST(IconMaker, WithoutAlphaTheMaskIsExactlyThePixelsLikeTheTopLeftOne) {
  const platform::UniqueIcon icon = MakeIconFromPicture(PictureOf(Keyed(), false));
  ASSERT_TRUE(icon);
  const IconBits bits = BitsOf(icon);
  // The one pixel with alpha 0x10 differs from the key in its alpha byte,
  // but it makes the picture one with alpha: its colours stay as they are.
  const std::vector<uint32_t> mask = {0xFFFFFF, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0};
  EXPECT_EQ(bits.mask.pixels, mask);
  EXPECT_EQ(bits.colour.pixels, Keyed().pixels);
}

TEST(IconMaker, WithoutAnyAlphaMaskedPixelsAreBlackAndAlphaStaysZero) {
  Argb picture = Keyed();
  picture.pixels[6] = 0x00FFFFFF;  // no alpha anywhere now
  const IconBits bits = BitsOf(MakeIconFromPicture(PictureOf(picture, false)));
  const std::vector<uint32_t> mask = {0xFFFFFF, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0};
  EXPECT_EQ(bits.mask.pixels, mask);
  const std::vector<uint32_t> colour = {0, 0, 0x00FF0000, 0, 0, 0, 0, 0x000000FF};
  EXPECT_EQ(bits.colour.pixels, colour);
}

TEST(IconMaker, WithAlphaTheBytesAreTheFilesOwn) {
  const Argb picture = {3, 1, {0x00000000, 0x80FF0000, 0xFF00FF00}};
  const IconBits bits = BitsOf(MakeIconFromPicture(PictureOf(picture, true)));
  EXPECT_EQ(bits.colour.pixels, picture.pixels);
  EXPECT_EQ(bits.mask.pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0}));
}

TEST(IconMaker, FromAlphaMagentaIsTransparentInPicturesWithoutAlpha) {
  const Argb picture = {3, 1, {0x00FF00FF, 0x00FFFFFF, 0x00FE00FF}};
  // Without alpha, and 32-bit with every alpha byte 0: the same icon, not a
  // fully transparent one.
  for (bool hasAlpha : {false, true}) {
    SCOPED_TRACE(hasAlpha);
    const IconBits bits = BitsOf(MakeIconFromAlpha(PictureOf(picture, hasAlpha)));
    EXPECT_EQ(bits.colour.pixels, (std::vector<uint32_t>{0x00FF00FF, 0xFFFFFFFF, 0xFFFE00FF}));
    EXPECT_EQ(bits.mask.pixels, (std::vector<uint32_t>{0xFFFFFF, 0, 0}));
  }
  const Argb alpha = {2, 1, {0x00FF00FF, 0x40123456}};
  const IconBits bits = BitsOf(MakeIconFromAlpha(PictureOf(alpha, true)));
  EXPECT_EQ(bits.colour.pixels, alpha.pixels);
  EXPECT_EQ(bits.mask.pixels, (std::vector<uint32_t>{0xFFFFFF, 0}));
}

TEST(IconMaker, AnEmptyPictureGivesNoIcon) {
  EXPECT_FALSE(MakeIconFromPicture(Picture{}));
  EXPECT_FALSE(MakeIconFromAlpha(Picture{}));
}

HICON WINAPI AnswersOne(HINSTANCE, LPCWSTR, UINT) { return reinterpret_cast<HICON>(1); }

TEST(IconMaker, ExtractionOfAFileWithoutIconGivesNone) {
  const TempFolder temp;
  WriteFile(temp.path() + L"\\zeros.ico", Bytes(64, 0));
  WriteFile(temp.path() + L"\\text.txt", {'h', 'i', '!'});
  WriteFile(temp.path() + L"\\good.ico", Icon(Fill(16, 16, 0xFF123456), 32));
  EXPECT_FALSE(ExtractFileIcon(platform::FromWide(temp.path() + L"\\zeros.ico")));
  EXPECT_FALSE(ExtractFileIcon(platform::FromWide(temp.path() + L"\\text.txt")));
  const platform::UniqueIcon good =
      ExtractFileIcon(platform::FromWide(temp.path() + L"\\good.ico"));
  ASSERT_TRUE(good);
  EXPECT_TRUE(IconHasAlpha(good.get()));

  // Where the system answers 1 ("no icon file"), that is no handle either.
  EXPECT_FALSE(ExtractFileIcon(u"C:\\any.ico", AnswersOne));
}

}  // namespace
}  // namespace nestova::imagelist
