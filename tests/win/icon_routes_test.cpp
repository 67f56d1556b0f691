// The image list's two ways to an icon file's picture: through a system icon
// per file, and straight from the file's bytes where that gives the same
// result. One folder of icons, PNGs, bitmaps and broken files goes both ways;
// items, images (pixel for pixel, mask included), raised errors and messages
// must agree.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "image_fixtures.h"
#include "imagelist/TsAlphaImageList.h"
#include "imagelist/icon_exact_frame.h"
#include "imagelist/image_file.h"
#include "platform/text.h"
#include "temp_folder.h"

namespace nestova::imagelist {
namespace {

using namespace testing;
using platform::FromWide;
using platform::Text;

// A 32-bit icon frame: colour with alpha, and an AND mask with bit 1 where
// `maskOf` says so.
template <typename MaskOf>
Bytes Frame32(const Argb& picture, MaskOf maskOf) {
  const size_t stride = static_cast<size_t>((picture.width + 31) / 32 * 4);
  Bytes mask(stride * picture.height, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (maskOf(x, y)) mask[(picture.height - 1 - y) * stride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return Cat({DibHeader({.width = picture.width, .height = picture.height * 2, .bitCount = 32}),
              DibRows(picture, 32), mask});
}

// Transparent ground, an opaque and a half-transparent square, a soft edge;
// `seed` varies colours so that no two files look alike.
Argb Glyph(int size, uint32_t seed) {
  Argb p = Fill(size, size, 0x00000000);
  Square(p, size / 8, size / 8, size / 2, 0xFF000000 | (seed * 0x2F4B1D & 0xFFFFFF));
  Square(p, size / 2, size / 2, size / 3, 0x80000000 | (seed * 0x13579B & 0xFFFFFF));
  for (int x = 0; x < size; ++x) p.pixels[static_cast<size_t>(size - 1) * size + x] = 0x40FF8000;
  return p;
}

IconEntry Entry32(const Argb& picture, bool maskFromAlpha = true) {
  const Bytes frame = Frame32(picture, [&](int x, int y) {
    // Some writers leave the mask empty; others mark the clear pixels.
    return maskFromAlpha && (picture.at(x, y) >> 24) == 0;
  });
  return {.width = static_cast<uint8_t>(picture.width),
          .height = static_cast<uint8_t>(picture.height),
          .bitCount = 32,
          .frame = frame};
}

// The sample collections' kind of file: 16, 24, 32, 48 px bitmaps and a
// 256 px PNG.
Bytes MultiSize(uint32_t seed, bool maskFromAlpha = true) {
  std::vector<IconEntry> entries;
  for (const int size : {16, 24, 32, 48})
    entries.push_back(Entry32(Glyph(size, seed), maskFromAlpha));
  entries.push_back({.width = 0,
                     .height = 0,
                     .bitCount = 32,
                     .frame = Png(Glyph(256, seed), PngColour::kTruecolourAlpha)});
  return IconFile(entries);
}

struct Outcome {
  std::vector<std::string> perFile;  // what each load did
  std::vector<nestova::testing::FakePlatform::Message> messages;
  std::vector<TsImageFormat> formats;
  std::vector<TPixelFormat> pixelFormats;
  std::vector<Bytes> data;
  std::vector<Argb> colours, masks, onWhite, onBlack;
};

// Copies one cell of an image list bitmap as 32-bit pixels.
Argb Cell(HBITMAP bitmap, const RECT& cell) {
  const Argb whole = ReadBitmap(bitmap);
  Argb out = Fill(cell.right - cell.left, cell.bottom - cell.top, 0);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x)
      out.pixels[static_cast<size_t>(y) * out.width + x] = whole.at(cell.left + x, cell.top + y);
  }
  return out;
}

class IconRoutesTest : public ::testing::Test {
 protected:
  Text Write(const std::wstring& name, const Bytes& bytes) {
    WriteFile(temp_.path() + L"\\" + name, bytes);
    names_.push_back(name);
    return FromWide(temp_.path() + L"\\" + name);
  }

  Outcome Load(bool systemIconsOnly) {
    nestova::testing::FakePlatform platform;
    TsAlphaImageList list(platform);
    list.SetWidth(32);
    list.SetHeight(32);
    list.SystemIconsOnly = systemIconsOnly;
    // The browser makes room for every file first; the other way does not.
    if (!systemIconsOnly) list.Reserve(static_cast<int>(names_.size()));
    Outcome out;
    for (const std::wstring& name : names_) {
      const int before = list.Count();
      std::string what;
      try {
        list.LoadFromFile(FromWide(temp_.path() + L"\\" + name));
        what = list.Count() == before + 1 ? "took" : "refused";
      } catch (const FileError&) {
        what = "file error";
      } catch (const DecodeError&) {
        what = "decode error";
      }
      out.perFile.push_back(nestova::testing::Utf8(FromWide(name)) + ": " + what);
    }
    out.messages = platform.messages;
    for (const TsImgListItem& item : list.Items()) {
      out.formats.push_back(item.FImageFormat);
      out.pixelFormats.push_back(item.FPixelFormat);
      out.data.push_back(item.ImgData);
    }
    for (int i = 0; i < list.Count(); ++i) {
      IMAGEINFO info{};
      EXPECT_TRUE(::ImageList_GetImageInfo(list.Handle(), i, &info));
      out.colours.push_back(Cell(info.hbmImage, info.rcImage));
      out.masks.push_back(Cell(info.hbmMask, info.rcImage));
      out.onWhite.push_back(DrawImage(list.Handle(), i, 0xFFFFFF));
      out.onBlack.push_back(DrawImage(list.Handle(), i, 0x000000));
    }
    return out;
  }

  TempFolder temp_;
  std::vector<std::wstring> names_;
};

// Both routes left the same items, images, pixels and messages.
void ExpectSame(const Outcome& fast, const Outcome& slow) {
  EXPECT_EQ(fast.perFile, slow.perFile);
  ASSERT_EQ(fast.messages.size(), slow.messages.size());
  for (size_t i = 0; i < slow.messages.size(); ++i) {
    EXPECT_EQ(fast.messages[i].text, slow.messages[i].text);
    EXPECT_EQ(fast.messages[i].caption, slow.messages[i].caption);
    EXPECT_EQ(fast.messages[i].icon, slow.messages[i].icon);
  }
  EXPECT_EQ(fast.formats, slow.formats);
  EXPECT_EQ(fast.pixelFormats, slow.pixelFormats);
  EXPECT_EQ(fast.data, slow.data);
  ASSERT_EQ(fast.colours.size(), slow.colours.size());
  for (size_t i = 0; i < slow.colours.size(); ++i) {
    EXPECT_EQ(fast.colours[i].pixels, slow.colours[i].pixels) << "colour of image " << i;
    EXPECT_EQ(fast.masks[i].pixels, slow.masks[i].pixels) << "mask of image " << i;
    EXPECT_EQ(fast.onWhite[i].pixels, slow.onWhite[i].pixels) << "image " << i << " on white";
    EXPECT_EQ(fast.onBlack[i].pixels, slow.onBlack[i].pixels) << "image " << i << " on black";
  }
}

TEST_F(IconRoutesTest, BothRoutesGiveTheSameItemsImagesAndMessages) {
  // Files the fast route takes: the sample kind, an empty mask, one frame.
  const Text multi = Write(L"a multi.ico", MultiSize(1));
  const Text noMask = Write(L"b no mask.ico", MultiSize(2, false));
  const Text single = Write(L"c single.ICO", IconFile({Entry32(Glyph(32, 3))}));
  // Icons the system still renders: other depths, no alpha, scaled, two
  // frames of the size, a PNG frame of the size, broken ones.
  Write(L"d 24 bit.ico", Icon(Fill(32, 32, 0x00336699), 24));
  Write(L"e no alpha.ico", Icon(Fill(32, 32, 0x00123456), 32));
  Write(L"f only 16.ico", IconFile({Entry32(Glyph(16, 4))}));
  Write(L"g only 48.ico", IconFile({Entry32(Glyph(48, 5))}));
  {
    IconEntry deep = Entry32(Glyph(32, 6));
    IconEntry flat{.width = 32, .height = 32, .bitCount = 24, .frame = {}};
    flat.frame = Cat({DibHeader({.width = 32, .height = 64, .bitCount = 24}),
                      DibRows(Fill(32, 32, 0x00FF0000), 24), Bytes(4 * 32, 0)});
    Write(L"h two of 32.ico", IconFile({flat, deep}));
  }
  Write(L"i png frame.ico", IconFile({{.width = 32,
                                       .height = 32,
                                       .bitCount = 32,
                                       .frame = Png(Glyph(32, 7), PngColour::kTruecolourAlpha)}}));
  {
    Bytes cut = MultiSize(8);
    cut.resize(cut.size() / 3);  // frames past the end
    Write(L"j cut short.ico", cut);
  }
  Write(L"k zeros.ico", Bytes{0, 0, 0x7F, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
  Write(L"l empty.ico", Bytes{});
  // Other kinds under an .ico name, decided by content.
  Write(L"m picture.ico", Png(Glyph(32, 9), PngColour::kTruecolourAlpha));
  Write(L"n bitmap.ico", Bmp24(Fill(32, 32, 0x00FFFFFF)));
  {
    Bytes broken = Png(Glyph(32, 10), PngColour::kTruecolour);
    broken.resize(broken.size() - 20);
    Write(L"o broken png.ico", broken);
  }
  const Text last = Write(L"p multi again.ico", MultiSize(11));

  // The fixture holds files of both routes.
  for (const Text& path : {multi, noMask, single, last}) {
    Bytes bytes;
    ReadWholeFile(path, bytes);
    EXPECT_TRUE(ReadExactIconFrame(bytes, 32)) << nestova::testing::Utf8(path);
  }

  const Outcome slow = Load(true);
  const Outcome fast = Load(false);
  ExpectSame(fast, slow);
  // The fixture itself holds what it should: some of each outcome.
  EXPECT_GE(slow.colours.size(), 10u);
  EXPECT_GE(slow.messages.size(), 2u);
}

// More icons in a row than go into the system image list at once, one the
// system renders among them, and a short run at the end.
TEST_F(IconRoutesTest, LongRunsOfIconsKeepTheirOrder) {
  for (int i = 0; i < 150; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"%03d.ico", i);
    Write(name, i == 70 ? Icon(Fill(32, 32, 0x00336699), 24) : MultiSize(20 + i));
  }
  const Outcome slow = Load(true);
  const Outcome fast = Load(false);
  ExpectSame(fast, slow);
  EXPECT_EQ(slow.colours.size(), 150u);
}

TEST_F(IconRoutesTest, RoomIsMadeOnlyInAnEmptyList) {
  nestova::testing::FakePlatform platform;
  TsAlphaImageList list(platform);
  list.SetWidth(32);
  list.SetHeight(32);
  list.SetBkColor(RGB(1, 2, 3));
  list.Reserve(4000);
  EXPECT_EQ(list.Count(), 0);
  int cx = 0, cy = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(list.Handle(), &cx, &cy));
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  EXPECT_EQ(::ImageList_GetBkColor(list.Handle()), RGB(1, 2, 3));

  list.LoadFromFile(Write(L"a.ico", MultiSize(1)));
  const HIMAGELIST handle = list.Handle();
  const Argb first = DrawImage(handle, 0, 0xFFFFFF);
  list.Reserve(4000);  // holds an image: stays as it is
  EXPECT_EQ(list.Handle(), handle);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(DrawImage(handle, 0, 0xFFFFFF).pixels, first.pixels);
}

}  // namespace
}  // namespace nestova::imagelist
