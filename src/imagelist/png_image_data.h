#pragma once
// The compressed image data of a PNG file: the zlib stream spread over a run
// of IDAT chunks, inflated straight into the caller's buffer without first
// joining the chunks. Portable.
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

  ChunkReader& chunks_;
  z_stream stream_{};
  bool ended_ = false;
  std::optional<Chunk> after_;  // the chunk that ended the run
};

}  // namespace nestova::imagelist::png
