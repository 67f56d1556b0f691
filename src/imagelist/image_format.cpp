#include "imagelist/image_format.h"

#include <algorithm>
#include <array>

namespace nestova::imagelist {
namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::array<uint8_t, 2> kIconStart = {0x00, 0x00};
constexpr std::array<uint8_t, 2> kBitmapStart = {0x42, 0x4D};  // "BM"

// A file of exactly the signature's length does not match: the probe asks
// for strictly more bytes than it compares.
bool StartsWith(std::span<const uint8_t> start, uint64_t fileSize,
                std::span<const uint8_t> signature) {
  const size_t count = signature.size();
  if (fileSize <= count || start.size() < count) return false;
  return std::equal(signature.begin(), signature.end(), start.begin());
}

bool IsIcoExtension(std::u16string_view extension) {
  constexpr std::u16string_view kIco = u"ico";
  if (extension.size() != kIco.size()) return false;
  for (size_t i = 0; i < kIco.size(); ++i) {
    char16_t c = extension[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kIco[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string ExtensionOf(std::u16string_view fileName) {
  const size_t last = fileName.find_last_of(u".\\:");
  if (last == std::u16string_view::npos || fileName[last] != u'.') return {};
  return std::u16string(fileName.substr(last + 1));
}

std::optional<TsImageFormat> DetectImageFormat(std::span<const uint8_t> start, uint64_t fileSize,
                                               std::u16string_view fileName) {
  if (StartsWith(start, fileSize, kPngSignature)) return ifPNG;
  if (StartsWith(start, fileSize, kIconStart)) {
    if (IsIcoExtension(ExtensionOf(fileName))) return ifICO;
    return std::nullopt;
  }
  if (StartsWith(start, fileSize, kBitmapStart)) return ifBMP32;
  return std::nullopt;
}

}  // namespace nestova::imagelist
