#include "imagelist/png_image_data.h"

#include <string>

#include "imagelist/picture.h"

namespace nestova::imagelist::png {
namespace {

[[noreturn]] void ThrowZlib(const z_stream& stream, int code) {
  if (code == Z_MEM_ERROR) throw DecodeError("out of memory while inflating");
  std::string message = "compression error";
  if (code == Z_NEED_DICT) message += ": preset dictionary";
  if (stream.msg != nullptr) message += std::string(": ") + stream.msg;
  throw DecodeError(message);
}

}  // namespace

ImageData::ImageData(ChunkReader& chunks, const Chunk& firstIdat) : chunks_(chunks) {
  if (inflateInit(&stream_) != Z_OK) throw DecodeError("out of memory while inflating");
  stream_.next_in = firstIdat.data.data();
  stream_.avail_in = static_cast<uInt>(firstIdat.data.size());
}

ImageData::~ImageData() { inflateEnd(&stream_); }

bool ImageData::NextIdat() {
  if (after_) return false;
  std::optional<Chunk> chunk = chunks_.Next();
  if (!chunk || chunk->type != kIDAT) {
    after_ = chunk;
    if (!after_) after_ = Chunk{};  // the data ended; type 0 marks it
    return false;
  }
  stream_.next_in = chunk->data.data();
  stream_.avail_in = static_cast<uInt>(chunk->data.size());
  return true;
}

void ImageData::Read(uint8_t* out, size_t size) {
  stream_.next_out = out;
  stream_.avail_out = static_cast<uInt>(size);
  while (stream_.avail_out > 0) {
    if (ended_) throw DecodeError("not enough image data");
    if (stream_.avail_in == 0 && !NextIdat()) throw DecodeError("not enough image data");
    const int code = inflate(&stream_, Z_NO_FLUSH);
    if (code == Z_STREAM_END) {
      ended_ = true;
    } else if (code != Z_OK && code != Z_BUF_ERROR) {
      ThrowZlib(stream_, code);
    }
  }
}

std::optional<Chunk> ImageData::Finish() {
  // Whatever the stream holds past the image is dropped; only its errors
  // count. The scratch buffer bounds the work by the input, not the output.
  uint8_t scratch[1024];
  while (!ended_) {
    if (stream_.avail_in == 0 && !NextIdat()) break;
    stream_.next_out = scratch;
    stream_.avail_out = sizeof scratch;
    const int code = inflate(&stream_, Z_NO_FLUSH);
    if (code == Z_STREAM_END) {
      ended_ = true;
    } else if (code != Z_OK && code != Z_BUF_ERROR) {
      ThrowZlib(stream_, code);
    }
  }
  // Empty IDAT chunks may still follow the end of the stream.
  while (NextIdat()) {
  }
  if (after_->type == 0) return std::nullopt;
  return after_;
}

}  // namespace nestova::imagelist::png
