#include "imagelist/image_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace nestova::imagelist {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPng = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

Bytes With(Bytes start, std::initializer_list<uint8_t> more) {
  start.insert(start.end(), more);
  return start;
}

struct Case {
  const char* name;
  Bytes file;
  std::u16string_view fileName;
  std::optional<TsImageFormat> format;
};

const Case kCases[] = {
    {"empty file", {}, u"a.ico", std::nullopt},
    {"one zero byte", {0x00}, u"a.ico", std::nullopt},
    {"two zero bytes only", {0x00, 0x00}, u"a.ico", std::nullopt},
    {"three zero bytes", {0x00, 0x00, 0x00}, u"a.ico", ifICO},
    {"BM and nothing else", {'B', 'M'}, u"a.bmp", std::nullopt},
    {"BM and one more byte", {'B', 'M', 0}, u"a.bmp", ifBMP32},
    {"exactly the PNG signature", kPng, u"a.png", std::nullopt},
    {"PNG signature and one byte", With(kPng, {0}), u"a.png", ifPNG},
    {"PNG signature cut short", {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A}, u"a.png", std::nullopt},
    {"PNG signature with a wrong byte", With({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0B}, {0}),
     u"a.png", std::nullopt},
    {"PNG data in an .ico file", With(kPng, {0, 0, 0, 13}), u"a.ico", ifPNG},
    {"PNG data without extension", With(kPng, {0}), u"picture", ifPNG},
    {"bitmap in an .ico file", {'B', 'M', 0x36, 0, 0, 0}, u"a.ico", ifBMP32},
    {"bitmap with any name", {'B', 'M', 0x36}, u"C:\\x\\readme.txt", ifBMP32},
    {"icon with .ICO", {0, 0, 1, 0}, u"C:\\Icons\\A.ICO", ifICO},
    {"icon with .Ico", {0, 0, 1, 0}, u"folder.Ico", ifICO},
    {"icon with .icon", {0, 0, 1, 0}, u"folder.icon", std::nullopt},
    {"icon with .ic", {0, 0, 1, 0}, u"folder.ic", std::nullopt},
    {"icon with .bmp", {0, 0, 1, 0}, u"folder.bmp", std::nullopt},
    {"icon without extension", {0, 0, 1, 0}, u"folder", std::nullopt},
    {"icon whose dot is followed by a backslash", {0, 0, 1, 0}, u"C:\\a.ico\\x", std::nullopt},
    {"icon whose dot is followed by a colon", {0, 0, 1, 0}, u"a.ico:stream", std::nullopt},
    {"icon in a folder with a dot", {0, 0, 1, 0}, u"C:\\my.ico\\folder.ico", ifICO},
    {"icon with .ico followed by a dot", {0, 0, 1, 0}, u"folder.ico.", std::nullopt},
    {"icon with a non-ASCII capital", {0, 0, 1, 0}, u"folder.\u0130co", std::nullopt},
    {"two zero bytes stop the search before BM", {0, 0, 'B', 'M'}, u"a.bmp", std::nullopt},
    {"nothing known", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0}, u"a.ico", std::nullopt},
    {"BM not at the start", {0, 'B', 'M'}, u"a.bmp", std::nullopt},
};

TEST(ImageFormat, DetectFromStartAndName) {
  for (const Case& c : kCases) {
    // The caller hands over at most the first 8 bytes.
    const size_t shown = std::min<size_t>(c.file.size(), kSignatureBytes);
    const auto format =
        DetectImageFormat(std::span(c.file.data(), shown), c.file.size(), c.fileName);
    EXPECT_EQ(format, c.format) << c.name;
  }
}

TEST(ImageFormat, ProbeNeedsTheBytesItCompares) {
  // A caller that shows fewer bytes than the file size promises gets no match.
  const Bytes zeros = {0};
  EXPECT_EQ(DetectImageFormat(zeros, 100, u"a.ico"), std::nullopt);
  EXPECT_EQ(DetectImageFormat(std::span(kPng.data(), 7), 100, u"a.png"), std::nullopt);
}

TEST(ImageFormat, ExtensionOf) {
  const struct {
    std::u16string_view name;
    std::u16string_view extension;
  } cases[] = {
      {u"", u""},
      {u"a", u""},
      {u"a.ico", u"ico"},
      {u"a.ICO", u"ICO"},
      {u".ico", u"ico"},
      {u"a.", u""},
      {u"a.tar.gz", u"gz"},
      {u"C:\\dir.x\\file", u""},
      {u"C:\\dir.x\\file.y", u"y"},
      {u"dir.x/file", u"x/file"},  // only "\" and ":" end an extension
      {u"a.b:c", u""},
      {u"C:.ico", u"ico"},
      {u"\\\\server\\share.d\\", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtensionOf(c.name), c.extension) << std::string(c.name.begin(), c.name.end());
  }
}

}  // namespace
}  // namespace nestova::imagelist
