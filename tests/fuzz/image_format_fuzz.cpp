// Any file start, size and name: detection agrees with the signature rules
// stated afresh here, and never reads past the bytes it is shown.
//
// Input: one byte whose low 4 bits give the name's length and whose high 4
// bits give how many bytes the file holds beyond those shown; the name, one
// byte per character (bytes from 0x80 stand for U+0100 and up, so non-ASCII
// letters occur); then the file's bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "imagelist/image_format.h"

using namespace nestova::imagelist;

namespace {

// The extension after the last dot that no "\" or ":" follows, or nullopt.
std::optional<std::u16string> Extension(const std::u16string& name) {
  for (size_t i = name.size(); i-- > 0;) {
    if (name[i] == u'\\' || name[i] == u':') return std::nullopt;
    if (name[i] == u'.') return name.substr(i + 1);
  }
  return std::nullopt;
}

bool IsIco(const std::optional<std::u16string>& ext) {
  if (!ext || ext->size() != 3) return false;
  const std::u16string& e = *ext;
  return (e[0] == u'i' || e[0] == u'I') && (e[1] == u'c' || e[1] == u'C') &&
         (e[2] == u'o' || e[2] == u'O');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t nameLength = data[0] & 0xF;
  if (size < 1 + nameLength) return 0;
  std::u16string name;
  for (size_t i = 0; i < nameLength; ++i) {
    const uint8_t b = data[1 + i];
    name += static_cast<char16_t>(b < 0x80 ? b : 0x100 + b);
  }
  const std::vector<uint8_t> content(data + 1 + nameLength, data + size);
  // Only a file whose first 8 bytes are all shown can hold more.
  const uint64_t fileSize = content.size() + (content.size() >= 8 ? data[0] >> 4 : 0);
  // Exactly the shown bytes, so reading one more is caught.
  const std::vector<uint8_t> start(content.begin(),
                                   content.begin() + std::min<size_t>(content.size(), 8));

  const auto starts = [&](std::initializer_list<uint8_t> signature) {
    if (fileSize <= signature.size()) return false;
    size_t i = 0;
    for (uint8_t b : signature) {
      if (content[i++] != b) return false;
    }
    return true;
  };
  std::optional<TsImageFormat> want;
  if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
    want = ifPNG;
  } else if (starts({0, 0})) {
    if (IsIco(Extension(name))) want = ifICO;
  } else if (starts({'B', 'M'})) {
    want = ifBMP32;
  }
  if (DetectImageFormat(start, fileSize, name) != want) std::abort();
  if (ExtensionOf(name) != Extension(name).value_or(u"")) std::abort();
  return 0;
}
