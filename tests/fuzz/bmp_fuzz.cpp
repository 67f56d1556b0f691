// Any bytes as a BMP file and as a bare DIB of either kind: the readers
// decode or raise DecodeError, and what they decode is a well-formed picture
// that agrees with the header alone.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imagelist/bmp_reader.h"
#include "picture_checks.h"

using namespace nestova::imagelist;

namespace {

void CheckDib(std::span<const uint8_t> dib, DibKind kind) {
  DibImage image;
  try {
    image = ReadDib(dib, kind);
  } catch (const DecodeError&) {
    return;
  }
  fuzzing::CheckPicture(image.picture);
  if (image.pixelEnd > dib.size()) std::abort();
  if (image.picture.hasAlpha && image.bitCount != 32) std::abort();
  // The header alone must be read the same way.
  const DibInfo info = ReadDibInfo(dib, kind);
  if (info.width != image.picture.width || info.height != image.picture.height ||
      info.bitCount != image.bitCount)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  try {
    const Picture picture = ReadBmp(file);
    if (size < 2 || data[0] != 'B' || data[1] != 'M') std::abort();
    fuzzing::CheckPicture(picture);
  } catch (const DecodeError&) {
  }
  CheckDib(file, DibKind::kBitmap);
  CheckDib(file, DibKind::kIconFrame);
  return 0;
}
