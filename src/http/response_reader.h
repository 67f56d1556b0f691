#pragma once
// The receiving side of a connection: head lines and body bytes from one
// buffer, so that nothing read ahead of a line is lost to the body.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "http/byte_sink.h"
#include "http/socket.h"

namespace nestova::http {

class ResponseReader {
 public:
  explicit ResponseReader(Socket& socket) : socket_(socket) {}

  // The next line without its LF and a CR before it, bytes beyond ASCII
  // read as "?"; nullopt when the peer closes before the LF. Throws
  // "Max line length exceeded." when more than kMaxLineLength bytes come
  // before the LF.
  std::optional<std::string> ReadLine();

  // Up to `count` bytes into `sink`; fewer only when the peer closed.
  // Returns the number of bytes delivered.
  uint64_t ReadBytes(uint64_t count, ByteSink& sink);

  // Everything until the peer closes. Throws a failure as soon as more
  // than `limit` bytes came; returns the number delivered.
  uint64_t ReadToClose(ByteSink& sink, uint64_t limit);

  // True when bytes are buffered or arrive within `wait`.
  bool DataWithin(std::chrono::milliseconds wait);

  bool PeerClosed() const { return peerClosed_; }
  // Bytes taken out of the buffer so far, line ends included.
  uint64_t Consumed() const { return consumed_; }

 private:
  size_t Buffered() const { return buffer_.size() - begin_; }
  // Receives one block into the buffer; false when the peer closed.
  bool Fill();
  void Take(size_t count);

  Socket& socket_;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0;    // first unread byte
  size_t scanned_ = 0;  // unread bytes already searched for a LF
  uint64_t consumed_ = 0;
  bool peerClosed_ = false;
};

}  // namespace nestova::http
