#include "http/response_reader.h"

#include <algorithm>
#include <array>

#include "http/http_errors.h"
#include "http/http_limits.h"

namespace nestova::http {

bool ResponseReader::Fill() {
  if (peerClosed_) return false;
  if (begin_ == buffer_.size()) {
    buffer_.clear();
    begin_ = 0;
  } else if (begin_ >= kReceiveBlock) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(begin_));
    begin_ = 0;
  }
  const size_t old = buffer_.size();
  buffer_.resize(old + kReceiveBlock);
  const size_t got = socket_.Receive(std::span<uint8_t>(buffer_).subspan(old));
  buffer_.resize(old + got);
  if (got == 0) peerClosed_ = true;
  return got > 0;
}

void ResponseReader::Take(size_t count) {
  begin_ += count;
  consumed_ += count;
  scanned_ = 0;
}

std::optional<std::string> ResponseReader::ReadLine() {
  for (;;) {
    const auto unread = std::span<const uint8_t>(buffer_).subspan(begin_);
    const auto lf = std::find(unread.begin() + static_cast<std::ptrdiff_t>(scanned_), unread.end(),
                              uint8_t{'\n'});
    size_t length = static_cast<size_t>(lf - unread.begin());
    if (length > kMaxLineLength) throw HttpError("Max line length exceeded.");
    if (lf != unread.end()) {
      std::string line(length, '\0');
      for (size_t i = 0; i < length; ++i) {
        line[i] = unread[i] < 0x80 ? static_cast<char>(unread[i]) : '?';
      }
      Take(length + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    scanned_ = length;
    if (!Fill()) return std::nullopt;
  }
}

uint64_t ResponseReader::ReadBytes(uint64_t count, ByteSink& sink) {
  uint64_t delivered = 0;
  const size_t fromBuffer = static_cast<size_t>(std::min<uint64_t>(count, Buffered()));
  if (fromBuffer > 0) {
    sink.Append(std::span<const uint8_t>(buffer_).subspan(begin_, fromBuffer));
    Take(fromBuffer);
    delivered = fromBuffer;
  }
  std::array<uint8_t, kReceiveBlock> block;
  while (delivered < count && !peerClosed_) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(count - delivered, block.size()));
    const size_t got = socket_.Receive(std::span<uint8_t>(block).first(want));
    if (got == 0) {
      peerClosed_ = true;
      break;
    }
    sink.Append(std::span<const uint8_t>(block).first(got));
    consumed_ += got;
    delivered += got;
  }
  return delivered;
}

uint64_t ResponseReader::ReadToClose(ByteSink& sink, uint64_t limit) {
  uint64_t delivered = 0;
  while (delivered < limit) {
    delivered += ReadBytes(std::min<uint64_t>(limit - delivered, kReceiveBlock), sink);
    if (peerClosed_ && Buffered() == 0) return delivered;
  }
  // The sink is full: any further byte makes the body too large.
  if (Buffered() > 0 || Fill()) throw HttpError("Response body too large.");
  return delivered;
}

bool ResponseReader::DataWithin(std::chrono::milliseconds wait) {
  if (Buffered() > 0) return true;
  if (peerClosed_) return false;
  buffer_.clear();
  begin_ = 0;
  scanned_ = 0;
  buffer_.resize(kReceiveBlock);
  const std::optional<size_t> got = socket_.ReceiveWithin(buffer_, wait);
  buffer_.resize(got.value_or(0));
  if (got && *got == 0) peerClosed_ = true;
  return !buffer_.empty();
}

}  // namespace nestova::http
