#include "http/body_reader.h"

#include "http/http_errors.h"
#include "http/http_limits.h"
#include "http/integer_text.h"

namespace nestova::http {
namespace {

[[noreturn]] void ThrowClosed() { throw HttpError("Connection Closed Gracefully."); }
[[noreturn]] void ThrowTooLarge() { throw HttpError("Response body too large."); }

void ReadChunked(ResponseReader& reader, ByteSink& sink) {
  uint64_t total = 0;
  for (;;) {
    const std::optional<std::string> sizeLine = reader.ReadLine();
    if (!sizeLine) ThrowClosed();
    const std::optional<uint64_t> size = ChunkSize(*sizeLine);
    if (!size) throw HttpError("Invalid chunk size.");
    if (*size == 0) break;
    if (*size > kMaxBodyBytes - total) ThrowTooLarge();
    const uint64_t got = reader.ReadBytes(*size, sink);
    total += got;
    if (got < *size) ThrowClosed();
    // The line end after the chunk's data.
    if (!reader.ReadLine()) ThrowClosed();
  }
  // Trailer lines up to the empty line. The body is whole by now, so a
  // connection that ends here ends nothing early.
  for (size_t lines = 0;; ++lines) {
    const std::optional<std::string> line = reader.ReadLine();
    if (!line || line->empty()) return;
    if (lines >= kMaxHeaderLines) throw HttpError("Too many trailer lines in the response.");
  }
}

}  // namespace

std::optional<uint64_t> ChunkSize(std::string_view line) {
  return ParseHexSize(line.substr(0, line.find_first_of("; \t")));
}

void ReadBody(ResponseReader& reader, const BodyFraming& framing, ByteSink& sink, BodyWait wait) {
  if (framing.chunked) {
    ReadChunked(reader, sink);
    return;
  }
  if (framing.contentLength == 0) return;
  if (wait == BodyWait::kBrief && !reader.DataWithin(kBriefWait)) return;
  if (framing.contentLength < 0) {
    reader.ReadToClose(sink, kMaxBodyBytes);
    return;
  }
  const auto length = static_cast<uint64_t>(framing.contentLength);
  if (length > kMaxBodyBytes) ThrowTooLarge();
  sink.Reserve(static_cast<size_t>(length));
  if (reader.ReadBytes(length, sink) < length) ThrowClosed();
}

}  // namespace nestova::http
