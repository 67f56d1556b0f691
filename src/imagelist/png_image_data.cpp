#include "imagelist/png_image_data.h"

#include <string>

#include "imagelist/picture.h"
#include "imagelist/png_adler32.h"

namespace nestova::imagelist::png {
namespace {

[[noreturn]] void ThrowZlib(const z_stream& stream, int code) {
  if (code == Z_MEM_ERROR) throw DecodeError("out of memory while inflating");
  std::string message = "compression error";
  if (code == Z_NEED_DICT) message += ": preset dictionary";
  if (stream.msg != nullptr) message += std::string(": ") + stream.msg;
  throw DecodeError(message);
}

[[noreturn]] void ThrowStream(const char* what) {
  throw DecodeError(std::string("compression error: ") + what);
}

}  // namespace

ImageData::ImageData(ChunkReader& chunks, const Chunk& firstIdat)
    : chunks_(chunks), adler_(kAdler32Start) {
  // Raw deflate data with the largest window: the header's window size is
  // checked against that limit, as zlib itself would.
  if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) {
    throw DecodeError("out of memory while inflating");
  }
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

bool ImageData::TakeByte(uint8_t& byte) {
  // An IDAT chunk may be empty.
  while (stream_.avail_in == 0) {
    if (!NextIdat()) return false;
  }
  byte = *stream_.next_in++;
  --stream_.avail_in;
  return true;
}

// The checks zlib makes of the two header bytes, in its order.
void ImageData::CheckHeader() {
  uint8_t method = 0, flags = 0;
  if (!TakeByte(method) || !TakeByte(flags)) throw DecodeError("not enough image data");
  headerChecked_ = true;
  if ((method << 8 | flags) % 31 != 0) ThrowStream("incorrect header check");
  if ((method & 0x0F) != Z_DEFLATED) ThrowStream("unknown compression method");
  if ((method >> 4) + 8 > MAX_WBITS) ThrowStream("invalid window size");
  if ((flags & 0x20) != 0) ThrowStream("preset dictionary");
}

void ImageData::Inflate() {
  Bytef* const start = stream_.next_out;
  const int code = inflate(&stream_, Z_NO_FLUSH);
  adler_ = Adler32(adler_, start, static_cast<size_t>(stream_.next_out - start));
  if (code == Z_STREAM_END) {
    ended_ = true;
    CheckTrailer();
  } else if (code != Z_OK && code != Z_BUF_ERROR) {
    ThrowZlib(stream_, code);
  }
}

void ImageData::CheckTrailer() {
  uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) {
    uint8_t byte = 0;
    if (!TakeByte(byte)) return;
    stored = stored << 8 | byte;
  }
  if (stored != adler_) ThrowStream("incorrect data check");
}

void ImageData::Read(uint8_t* out, size_t size) {
  if (!headerChecked_) CheckHeader();
  stream_.next_out = out;
  stream_.avail_out = static_cast<uInt>(size);
  while (stream_.avail_out > 0) {
    if (ended_) throw DecodeError("not enough image data");
    if (stream_.avail_in == 0 && !NextIdat()) throw DecodeError("not enough image data");
    Inflate();
  }
}

std::optional<Chunk> ImageData::Finish() {
  // Whatever the stream holds past the image is dropped; only its errors
  // count. The scratch buffer bounds the work by the input, not the output.
  uint8_t scratch[1024];
  if (!headerChecked_) CheckHeader();
  while (!ended_) {
    if (stream_.avail_in == 0 && !NextIdat()) break;
    stream_.next_out = scratch;
    stream_.avail_out = sizeof scratch;
    Inflate();
  }
  // Empty IDAT chunks may still follow the end of the stream.
  while (NextIdat()) {
  }
  if (after_->type == 0) return std::nullopt;
  return after_;
}

}  // namespace nestova::imagelist::png
