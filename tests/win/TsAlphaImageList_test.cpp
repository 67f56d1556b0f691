// The image list: what each kind of file, and each failure, leaves in the
// items and in the system image list, what it says and what it raises; and
// the pictures it draws.
#include "imagelist/TsAlphaImageList.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "image_fixtures.h"
#include "imagelist/image_file.h"
#include "imagelist/picture.h"
#include "platform/text.h"
#include "temp_folder.h"

namespace nestova::imagelist {
namespace {

using namespace testing;
using platform::FromWide;
using platform::Text;

constexpr uint32_t kWhite = 0xFFFFFFFF & 0x00FFFFFF;  // no alpha: a plain truecolour file
constexpr uint32_t kGreen = 0x0000FF00;

class ImageListTest : public ::testing::Test {
 protected:
  Text Write(const std::wstring& name, const Bytes& bytes) const {
    WriteFile(temp_.path() + L"\\" + name, bytes);
    return Path(name);
  }
  Text Path(const std::wstring& name) const { return FromWide(temp_.path() + L"\\" + name); }
  // A runtime list as the browser makes it: 32 x 32.
  std::unique_ptr<TsAlphaImageList> List32() {
    auto list = std::make_unique<TsAlphaImageList>(platform_);
    list->SetWidth(32);
    list->SetHeight(32);
    return list;
  }
  static Text CannotLoad(const Text& path) {
    return u"Cannot load " + path + u"\r\nInvalid or unexpected image format.";
  }

  TempFolder temp_;
  nestova::testing::FakePlatform platform_;
};

// A 32 x 32 picture: white with a black square and one red pixel.
Argb WhiteWithGlyph() {
  Argb picture = Fill(32, 32, kWhite);
  Square(picture, 8, 8, 16, 0x000000);
  picture.pixels[0 * 32 + 31] = 0xFF0000;
  return picture;
}

// A 32 x 32 picture with alpha: transparent, an opaque blue square and a
// half-transparent red one.
Argb Translucent() {
  Argb picture = Fill(32, 32, 0x00000000);
  Square(picture, 4, 4, 8, 0xFF0000FF);
  Square(picture, 20, 20, 8, 0x80FF0000);
  return picture;
}

TEST_F(ImageListTest, ARuntimeListIsEmptyWithHandleAndNotGenerated) {
  TsAlphaImageList list(platform_);
  ASSERT_NE(list.Handle(), nullptr);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 16);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.StdListIsGenerated());
  EXPECT_TRUE(list.DoubleData);
  EXPECT_TRUE(list.UseCache());
  EXPECT_EQ(list.Items().Count(), 0);

  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.SetWidth(32);
  list.SetHeight(32);
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  list.LoadFromFile(Write(L"a.png", Png(WhiteWithGlyph(), PngColour::kTruecolour)));
  EXPECT_EQ(list.Count(), 1);
  // Never generated, so its change notification never acts.
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(list.StdListIsGenerated());

  // A new size empties the system image list and keeps the items.
  list.SetWidth(48);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Items().Count(), 1);
}

// One row per kind of file: what a load leaves behind.
struct LoadCase {
  const char* trace;
  std::wstring name;
  Bytes bytes;
  bool write;  // false: the file does not exist
  enum { kAdded, kMessage, kMessageWithItem, kRaisesFileError, kRaisesDecodeError } outcome;
  TsImageFormat kind = ifPNG;
};

std::vector<LoadCase> LoadCases() {
  const Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const Bytes png = Png(WhiteWithGlyph(), PngColour::kTruecolour);
  const Bytes icon = Icon(Fill(16, 16, 0xFF00FF00), 32);
  Bytes brokenPng = png;
  brokenPng[40] ^= 0xFF;  // inside the compressed data: the CRC no longer fits
  Bytes brokenBmp = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
  return {
      {"empty file", L"empty.ico", {}, true, LoadCase::kMessage},
      {"one byte", L"one.ico", {0}, true, LoadCase::kMessage},
      {"two zero bytes are not more than the signature",
       L"two.ico",
       {0, 0},
       true,
       LoadCase::kMessage},
      {"exactly the PNG signature", L"sig.png", signature, true, LoadCase::kMessage},
      {"two zero bytes with another extension", L"zero.bmp", Bytes(64, 0), true,
       LoadCase::kMessage},
      {"unknown content", L"text.ico", {'h', 'e', 'l', 'l', 'o'}, true, LoadCase::kMessage},
      {"icon data named .icon", L"x.icon", icon, true, LoadCase::kMessage},
      {"a bitmap named .ico", L"bm.ico", Bmp24(WhiteWithGlyph()), true, LoadCase::kAdded, ifBMP32},
      {"PNG named .ico", L"png.ico", png, true, LoadCase::kAdded, ifPNG},
      {"icon data named .ICO", L"CAPS.ICO", icon, true, LoadCase::kAdded, ifICO},
      {"PNG", L"plain.png", png, true, LoadCase::kAdded, ifPNG},
      {"PNG named .txt", L"plain.txt", png, true, LoadCase::kAdded, ifPNG},
      // ExtractIconW answers 0 or 1 here; neither is an icon handle.
      {"zero-filled .ico", L"zeros.ico", Bytes(64, 0), true, LoadCase::kMessageWithItem, ifICO},
      {"missing file", L"missing.png", {}, false, LoadCase::kRaisesFileError},
      {"broken PNG", L"broken.png", brokenPng, true, LoadCase::kRaisesDecodeError, ifPNG},
      {"broken bitmap", L"broken.bmp", brokenBmp, true, LoadCase::kRaisesDecodeError, ifBMP32},
  };
}

TEST_F(ImageListTest, EachKindOfFileLeavesWhatTheTableSays) {
  for (const LoadCase& c : LoadCases()) {
    SCOPED_TRACE(c.trace);
    auto list = List32();
    // One good image first, so that a failure must not disturb it.
    list->LoadFromFile(Write(L"first.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
    ASSERT_EQ(list->Count(), 1);
    platform_.messages.clear();

    const Text path = c.write ? Write(c.name, c.bytes) : Path(c.name);
    bool fileError = false, decodeError = false;
    try {
      list->LoadFromFile(path);
    } catch (const FileError&) {
      fileError = true;
    } catch (const DecodeError&) {
      decodeError = true;
    }
    const bool added = c.outcome == LoadCase::kAdded;
    const bool itemMade = added || c.outcome == LoadCase::kMessageWithItem ||
                          c.outcome == LoadCase::kRaisesDecodeError;
    EXPECT_EQ(fileError, c.outcome == LoadCase::kRaisesFileError);
    EXPECT_EQ(decodeError, c.outcome == LoadCase::kRaisesDecodeError);
    EXPECT_EQ(list->Count(), added ? 2 : 1);
    ASSERT_EQ(list->Items().Count(), itemMade ? 2 : 1);
    if (itemMade) {
      EXPECT_EQ(list->Items()[1].FImageFormat, c.kind);
      EXPECT_EQ(list->Items()[1].ImgData, c.bytes);
      if (c.outcome == LoadCase::kMessageWithItem) {
        EXPECT_EQ(list->Items()[1].FPixelFormat, pf24bit);
      }
    }
    const bool message = c.outcome == LoadCase::kMessage || c.outcome == LoadCase::kMessageWithItem;
    ASSERT_EQ(platform_.messages.size(), message ? 1u : 0u);
    if (message) {
      EXPECT_EQ(platform_.messages[0].text, CannotLoad(path));
      EXPECT_EQ(platform_.messages[0].caption, u"Error");
      EXPECT_EQ(platform_.messages[0].icon, platform::MessageIcon::kError);
      EXPECT_EQ(platform_.messages[0].owner, nullptr);
    }
  }
}

TEST_F(ImageListTest, AFailedLoadDoesNotShiftTheIndicesOfLaterOnes) {
  auto list = List32();
  Bytes broken = Png(WhiteWithGlyph(), PngColour::kTruecolour);
  broken[40] ^= 0xFF;
  list->LoadFromFile(Write(L"a.png", Png(WhiteWithGlyph(), PngColour::kTruecolour)));
  EXPECT_THROW(list->LoadFromFile(Write(L"b.png", broken)), DecodeError);
  list->LoadFromFile(Write(L"c.ico", {'x', 'y', 'z'}));  // not recognised
  const int before = list->Count();
  list->LoadFromFile(Write(L"d.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
  EXPECT_EQ(before, 1);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Items().Count(), 3);  // one item more than images
  // Image 1 is d.png's: its blue square shows.
  EXPECT_EQ(DrawImage(list->Handle(), 1, kGreen).at(6, 6), 0x0000FFu);
}

TEST_F(ImageListTest, AListWithoutHandleSaysCannotLoadBeforeTouchingTheFile) {
  TsAlphaImageList list(platform_, /*readingFromForm=*/true);
  EXPECT_EQ(list.Handle(), nullptr);
  EXPECT_EQ(list.Count(), 0);
  const Text missing = Path(L"missing.png");
  list.LoadFromFile(missing);  // no file error: the handle is tested first
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, CannotLoad(missing));
  EXPECT_EQ(list.Items().Count(), 0);

  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Loaded();
  EXPECT_NE(list.Handle(), nullptr);
  EXPECT_TRUE(list.StdListIsGenerated());
  EXPECT_EQ(changes, 1);
}

TEST_F(ImageListTest, IconsKeepTheirAlphaAndRecordWhetherTheyHaveIt) {
  auto list = List32();
  Argb withAlpha = Fill(16, 16, 0x00000000);
  Square(withAlpha, 0, 0, 8, 0xFF0000FF);
  list->LoadFromFile(Write(L"alpha.ico", Icon(withAlpha, 32)));
  list->LoadFromFile(Write(L"plain.ico", Icon(Fill(16, 16, 0xFF0000), 24)));
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Items()[0].FPixelFormat, pf32bit);
  EXPECT_EQ(list->Items()[1].FPixelFormat, pf24bit);
  EXPECT_EQ(list->Items()[0].OrigWidth, 0);  // only a regeneration records it

  // A 16 x 16 icon arrives at the large-icon size and fills the 32 x 32 cell.
  const Argb drawn = DrawImage(list->Handle(), 0, kGreen);
  EXPECT_EQ(drawn.at(2, 2), 0x0000FFu);
  EXPECT_EQ(drawn.at(14, 14), 0x0000FFu);
  EXPECT_EQ(drawn.at(24, 24), kGreen);
  EXPECT_EQ(DrawImage(list->Handle(), 1, kGreen).at(30, 30), 0xFF0000u);
}

TEST_F(ImageListTest, APictureWithoutAlphaIsKeyedOnItsTopLeftPixel) {
  const Argb picture = WhiteWithGlyph();
  for (const auto& [name, bytes] : std::vector<std::pair<std::wstring, Bytes>>{
           {L"key.png", Png(picture, PngColour::kTruecolour)}, {L"key.bmp", Bmp24(picture)}}) {
    SCOPED_TRACE(bytes[0] == 'B' ? "bitmap" : "PNG");
    auto list = List32();
    list->LoadFromFile(Write(name, bytes));
    ASSERT_EQ(list->Count(), 1);
    // White was the key: the background shows there, and shows unchanged
    // (a masked pixel that kept its white would invert it).
    for (uint32_t background : {kGreen, 0x00336699u}) {
      const Argb drawn = DrawImage(list->Handle(), 0, background);
      EXPECT_EQ(drawn.at(0, 0), background);
      EXPECT_EQ(drawn.at(31, 31), background);
      EXPECT_EQ(drawn.at(16, 16), 0x000000u);
      EXPECT_EQ(drawn.at(31, 0), 0xFF0000u);
    }
  }
}

TEST_F(ImageListTest, APictureWithAlphaIsDrawnWithIt) {
  auto list = List32();
  list->LoadFromFile(Write(L"alpha.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
  const Argb drawn = DrawImage(list->Handle(), 0, kGreen);
  EXPECT_EQ(drawn.at(0, 0), kGreen);
  EXPECT_EQ(drawn.at(6, 6), 0x0000FFu);
  // Half red over green: about 0x80 of each.
  const uint32_t blend = drawn.at(22, 22);
  EXPECT_NEAR(static_cast<int>(blend >> 16 & 0xFF), 0x80, 3);
  EXPECT_NEAR(static_cast<int>(blend >> 8 & 0xFF), 0x7F, 3);
  EXPECT_EQ(blend & 0xFF, 0u);
}

TEST_F(ImageListTest, GreyscaleWithAlphaKeepsItsAlpha) {
  // A black glyph on transparent black: keyed on the top-left pixel alone,
  // the glyph would vanish with its background.
  Argb picture = Fill(32, 32, 0x00000000);
  Square(picture, 8, 8, 16, 0xFF000000);
  auto list = List32();
  list->LoadFromFile(Write(L"grey.png", Png(picture, PngColour::kGreyAlpha)));
  ASSERT_EQ(list->Count(), 1);
  const Argb drawn = DrawImage(list->Handle(), 0, kGreen);
  EXPECT_EQ(drawn.at(0, 0), kGreen);
  EXPECT_EQ(drawn.at(16, 16), 0x000000u);
}

TEST_F(ImageListTest, WithoutItemDataNoItemIsMade) {
  auto list = List32();
  list->DoubleData = false;
  list->LoadFromFile(Write(L"a.png", Png(WhiteWithGlyph(), PngColour::kTruecolour)));
  list->LoadFromFile(Write(L"b.ico", Icon(Fill(16, 16, 0xFF00FF00), 32)));
  list->LoadFromFile(Write(L"c.bmp", Bmp24(WhiteWithGlyph())));
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Items().Count(), 0);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(ImageListTest, GenerationBuildsTheImagesFromTheItems) {
  auto list = List32();
  list->LoadFromFile(Write(L"a.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
  list->LoadFromFile(Write(L"b.ico", Icon(Fill(16, 16, 0xFF00FF00), 32)));
  list->LoadFromFile(Write(L"c.bmp", Bmp24(WhiteWithGlyph())));
  list->GenerateStdList();
  EXPECT_TRUE(list->StdListIsGenerated());
  EXPECT_FALSE(list->AcChanging());
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Items()[1].OrigWidth, 16);
  EXPECT_EQ(list->Items()[2].OrigHeight, 32);
  EXPECT_EQ(DrawImage(list->Handle(), 0, kGreen).at(6, 6), 0x0000FFu);
  EXPECT_EQ(DrawImage(list->Handle(), 1, 0).at(16, 16), 0x00FF00u);
  // No alpha and no magenta: all of the bitmap is opaque.
  EXPECT_EQ(DrawImage(list->Handle(), 2, kGreen).at(0, 0), 0xFFFFFFu);

  // Generated, the list notifies, and rebuilds when images fall behind the
  // items (a failed load made an item).
  int changes = 0;
  list->OnChange = [&] { ++changes; };
  Bytes broken = Png(WhiteWithGlyph(), PngColour::kTruecolour);
  broken[40] ^= 0xFF;
  EXPECT_THROW(list->LoadFromFile(Write(L"d.png", broken)), DecodeError);
  EXPECT_EQ(list->Count(), 3);
  list->Items()[3].ImgData = Png(WhiteWithGlyph(), PngColour::kTruecolour);  // mended
  list->Change();
  EXPECT_EQ(list->Count(), 4);
  EXPECT_EQ(changes, 1);

  list->AcBeginUpdate();
  list->Change();
  EXPECT_EQ(changes, 1);
  list->AcEndUpdate(false);
  EXPECT_EQ(changes, 1);
  list->AcEndUpdate(true);
  EXPECT_EQ(changes, 2);
}

TEST_F(ImageListTest, AFailedGenerationLeavesTheListAbleToGenerateAgain) {
  auto list = List32();
  list->LoadFromFile(Write(L"a.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
  TsImgListItem& broken = list->Items().Add();
  broken.FImageFormat = ifPNG;
  broken.ImgData = {1, 2, 3};
  EXPECT_THROW(list->GenerateStdList(), DecodeError);
  EXPECT_EQ(list->Count(), 1);  // what came before the error stays
  EXPECT_FALSE(list->AcChanging());

  list->Items()[1].ImgData = Png(WhiteWithGlyph(), PngColour::kTruecolour);
  list->GenerateStdList();
  EXPECT_EQ(list->Count(), 2);
  EXPECT_TRUE(list->StdListIsGenerated());
}

TEST_F(ImageListTest, SharedImagesOutliveTheList) {
  platform::UniqueImageList kept;
  {
    auto list = List32();
    list->ShareImages = true;
    list->LoadFromFile(Write(L"a.png", Png(Translucent(), PngColour::kTruecolourAlpha)));
    kept.reset(list->Handle());
  }
  EXPECT_EQ(::ImageList_GetImageCount(kept.get()), 1);
}

TEST_F(ImageListTest, BackgroundColourAndCache) {
  TsAlphaImageList list(platform_);
  EXPECT_EQ(list.BkColor(), CLR_NONE);
  list.SetBkColor(RGB(1, 2, 3));
  EXPECT_EQ(list.BkColor(), RGB(1, 2, 3));
  EXPECT_EQ(::ImageList_GetBkColor(list.Handle()), RGB(1, 2, 3));
  TsImgListItem& item = list.Items().Add();
  item.CacheBmp.reset(::CreateBitmap(1, 1, 1, 1, nullptr));
  list.SetUseCache(false);
  EXPECT_FALSE(item.CacheBmp);
}

TEST_F(ImageListTest, FileStartsWithNeedsMoreBytesThanItCompares) {
  const uint8_t bm[] = {'B', 'M'};
  EXPECT_FALSE(FileStartsWith(Write(L"2", {'B', 'M'}), bm, 2));
  EXPECT_TRUE(FileStartsWith(Write(L"3", {'B', 'M', 0}), bm, 2));
  EXPECT_FALSE(FileStartsWith(Write(L"x", {'B', 'X', 0}), bm, 2));
  const uint8_t nine[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  // At most 8 bytes are compared, so a 9-byte file matches 9 claimed.
  EXPECT_TRUE(FileStartsWith(Write(L"9", {1, 2, 3, 4, 5, 6, 7, 8, 0}), nine, 9));
  EXPECT_THROW(FileStartsWith(Path(L"missing"), bm, 2), FileError);
}

}  // namespace
}  // namespace nestova::imagelist
