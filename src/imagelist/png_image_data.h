#pragma once
// The compressed image data of a PNG file: the zlib stream spread over a run
// of IDAT chunks, inflated straight into the caller's buffer without first
// joining the chunks. zlib inflates the raw deflate data; the stream's
// header and checksum are checked here, the checksum faster than zlib would.
// Portable.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "imagelist/png_chunks.h"

namespace nestova::imagelist::png {

class ImageData {
 public:
  // Starts with the first IDAT chunk; takes the following ones from chunks.
  ImageData(ChunkReader& chunks, const Chunk& firstIdat);
  ~ImageData();
  ImageData(const ImageData&) = delete;
  ImageData& operator=(const ImageData&) = delete;

  // Fills out with exactly size inflated bytes, or throws.
  void Read(uint8_t* out, size_t size);

  // Called once the image is complete: reads the rest of the IDAT run
  // (checking the stream's own checksum where it is there) and returns the
  // first chunk after the run, or nothing when the data ends.
  std::optional<Chunk> Finish();

 private:
  // Feeds the next IDAT chunk; false when the run has ended.
  bool NextIdat();
  // Takes one byte of the stream from its input; false when the run ended.
  bool TakeByte(uint8_t& byte);
  void CheckHeader();
  // Inflates into the output space set in stream_, adding what comes out to
  // the checksum.
  void Inflate();
  // At the end of the deflate data: the checksum after it must match,
  // unless the run ends before the checksum does.
  void CheckTrailer();

  ChunkReader& chunks_;
  z_stream stream_{};
  bool headerChecked_ = false;
  bool ended_ = false;
  uint32_t adler_;
  std::optional<Chunk> after_;  // the chunk that ended the run
};

}  // namespace nestova::imagelist::png
