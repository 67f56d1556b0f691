#pragma once
// Walking the chunks of a PNG file. Every chunk's length and CRC are checked
// before its data is handed out. Portable.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace nestova::imagelist::png {

constexpr uint32_t ChunkType(const char (&name)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(name[3]));
}

inline constexpr uint32_t kIHDR = ChunkType("IHDR");
inline constexpr uint32_t kPLTE = ChunkType("PLTE");
inline constexpr uint32_t kIDAT = ChunkType("IDAT");
inline constexpr uint32_t kIEND = ChunkType("IEND");
inline constexpr uint32_t kTRNS = ChunkType("tRNS");
inline constexpr uint32_t kGAMA = ChunkType("gAMA");

// A lower-case first letter marks an ancillary chunk, which a reader may skip.
constexpr bool IsCritical(uint32_t type) { return (type & 0x20000000u) == 0; }

std::string ChunkName(uint32_t type);

inline uint32_t ReadBig32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

struct Chunk {
  uint32_t type = 0;
  std::span<const uint8_t> data;
};

class ChunkReader {
 public:
  // Checks the signature.
  explicit ChunkReader(std::span<const uint8_t> file);

  // The next chunk, or nothing when the data ends cleanly after a chunk.
  std::optional<Chunk> Next();

  // Bytes not yet walked; none of them can be image data already read.
  size_t Remaining() const { return file_.size() - pos_; }

 private:
  std::span<const uint8_t> file_;
  size_t pos_ = 0;
};

}  // namespace nestova::imagelist::png
