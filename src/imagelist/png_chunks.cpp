#include "imagelist/png_chunks.h"

#include <algorithm>

#include "imagelist/picture.h"
#include "imagelist/png_crc32.h"

namespace nestova::imagelist::png {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string ChunkName(uint32_t type) {
  return {static_cast<char>(type >> 24), static_cast<char>(type >> 16),
          static_cast<char>(type >> 8), static_cast<char>(type)};
}

ChunkReader::ChunkReader(std::span<const uint8_t> file) : file_(file) {
  if (file.size() < sizeof kSignature || !std::equal(kSignature, kSignature + 8, file.begin())) {
    throw DecodeError("not a PNG file");
  }
  pos_ = sizeof kSignature;
}

std::optional<Chunk> ChunkReader::Next() {
  if (pos_ == file_.size()) return std::nullopt;
  if (file_.size() - pos_ < 12) throw DecodeError("truncated data");
  const uint8_t* head = file_.data() + pos_;
  const uint32_t length = ReadBig32(head);
  if (length > kMaxChunkLength) throw DecodeError("chunk length out of range");
  if (file_.size() - pos_ - 12 < length) throw DecodeError("truncated data");
  if (!IsLetter(head[4]) || !IsLetter(head[5]) || !IsLetter(head[6]) || !IsLetter(head[7])) {
    throw DecodeError("invalid chunk type");
  }
  // The CRC covers the type and the data.
  const uint32_t crc = Crc32(0, head + 4, 4 + size_t{length});
  if (crc != ReadBig32(head + 8 + length)) throw DecodeError("chunk CRC mismatch");
  pos_ += 12 + size_t{length};
  return Chunk{ReadBig32(head + 4), {head + 8, length}};
}

}  // namespace nestova::imagelist::png
