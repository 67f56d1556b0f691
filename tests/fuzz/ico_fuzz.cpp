// Any bytes as an icon file: the directory is refused or lists frames that
// lie inside the file after the directory; every DIB frame decodes to its
// listed size with alpha, or raises DecodeError; the chosen frame is one of
// the closest in size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "imagelist/ico_reader.h"
#include "picture_checks.h"

using namespace nestova::imagelist;

namespace {

int64_t Distance(const IconFrame& f, int wanted) {
  return std::llabs(int64_t{f.width} - wanted) + std::llabs(int64_t{f.height} - wanted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  std::vector<IconFrame> frames;
  try {
    frames = ReadIconDirectory(file);
  } catch (const DecodeError&) {
    return 0;
  }
  if (size < 6 || frames.empty() || frames.size() != size_t{data[4]} + 256u * data[5]) std::abort();
  const size_t directoryEnd = 6 + 16 * frames.size();
  for (const IconFrame& f : frames) {
    if (f.offset < directoryEnd || f.offset > size || f.size == 0 || f.size > size - f.offset)
      std::abort();
    if (f.width <= 0 || f.height <= 0 || f.bitCount <= 0) std::abort();
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool pngSignature = f.size >= 8 && std::memcmp(data + f.offset, kPng, 8) == 0;
    if (f.isPng && !pngSignature) std::abort();
    if (f.isPng) continue;
    try {
      const Picture p = DecodeIconDibFrame(file, f);
      fuzzing::CheckPicture(p);
      if (!p.hasAlpha || p.width != f.width || p.height != f.height) std::abort();
    } catch (const DecodeError&) {
    }
  }
  for (int wanted : {16, 32, 256}) {
    const size_t chosen = ChooseIconFrame(frames, wanted);
    if (chosen >= frames.size()) std::abort();
    for (const IconFrame& f : frames) {
      if (Distance(f, wanted) < Distance(frames[chosen], wanted)) std::abort();
    }
  }
  return 0;
}
