#pragma once
// PNG files for the decoder's tests: written by libpng, decoded by libpng as
// the oracle, or put together chunk by chunk to break them on purpose.
#include <cstdint>
#include <string>
#include <vector>

namespace nestova::imagelist::testing {

using Bytes = std::vector<uint8_t>;

Bytes ReadFileBytes(const std::string& path);

// A picture to write: samples at the file's depth, one value per sample
// (a palette index for type 3), rows from the top.
struct PngSpec {
  uint32_t width = 1;
  uint32_t height = 1;
  int colourType = 2;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint16_t> samples;
  std::vector<uint8_t> palette;  // RGB triples, type 3
  bool transparency = false;
  std::vector<uint8_t> paletteAlpha;  // type 3 tRNS
  uint16_t key[3] = {0, 0, 0};        // type 0 and 2 tRNS
  uint32_t gamma = 0;                 // gAMA, 0 for none
};

// Throws std::runtime_error when libpng refuses.
Bytes WritePngWithLibpng(const PngSpec& spec);

// What libpng makes of a file with the transforms that give the decoder's
// output: palettes and low depths expanded, tRNS to alpha, 16 bits stripped
// to their high byte, greyscale to BGR, gamma for a 2.2 display when
// `gamma` is set. Pictures without alpha get a filler byte.
struct LibpngPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  bool hasAlpha = false;
  int bitDepth = 0;
  uint32_t gamma = 0;  // the file's gAMA as libpng read it, 0 for none
  std::vector<uint8_t> bgra;
};
LibpngPicture DecodeWithLibpng(const Bytes& file, bool gamma);

// A file put together chunk by chunk, with right CRCs unless broken later.
class ChunkWriter {
 public:
  ChunkWriter();
  ChunkWriter& Chunk(const std::string& type, const Bytes& data);
  ChunkWriter& Header(uint32_t width, uint32_t height, int bitDepth, int colourType,
                      int interlace = 0);
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

Bytes Deflate(const Bytes& raw);

}  // namespace nestova::imagelist::testing
