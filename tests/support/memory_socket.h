#pragma once
// A socket that plays bytes from memory and records what the client does
// with it: where it connects, what it sends, when it closes.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "http/http_errors.h"
#include "http/socket.h"

namespace nestova::testing {

struct MemoryWire {
  // What the server says, handed out in reads of the sizes in `readSizes`
  // (used in turn; empty means as much as the client asks for).
  std::string input;
  std::vector<size_t> readSizes;
  // After the input: true when the server stays silent (a brief wait finds
  // nothing), false when it closes. A blocking read always sees the close,
  // so nothing here can hang.
  bool silentAtEnd = false;
  // Connect fails with this Windows Sockets number when set.
  std::optional<int> connectError;

  // Recorded.
  std::vector<http::ConnectTarget> connects;
  std::vector<std::string> sends;
  int closes = 0;
  int socketsMade = 0;
  size_t delivered = 0;
  size_t reads = 0;
  bool sawEnd = false;  // a read returned the close
};

class MemorySocket final : public http::Socket {
 public:
  explicit MemorySocket(std::shared_ptr<MemoryWire> wire) : wire_(std::move(wire)) {}

  void Connect(const http::ConnectTarget& target) override {
    wire_->connects.push_back(target);
    if (wire_->connectError) throw http::SocketError(*wire_->connectError);
  }
  void SendAll(std::span<const uint8_t> bytes) override {
    wire_->sends.emplace_back(bytes.begin(), bytes.end());
  }
  size_t Receive(std::span<uint8_t> buffer) override {
    MemoryWire& w = *wire_;
    size_t size = std::min(buffer.size(), w.input.size() - w.delivered);
    if (!w.readSizes.empty())
      size = std::min(size, std::max<size_t>(1, w.readSizes[w.reads % w.readSizes.size()]));
    ++w.reads;
    if (size == 0) w.sawEnd = true;
    std::copy_n(w.input.begin() + static_cast<std::ptrdiff_t>(w.delivered), size, buffer.begin());
    w.delivered += size;
    return size;
  }
  std::optional<size_t> ReceiveWithin(std::span<uint8_t> buffer,
                                      std::chrono::milliseconds) override {
    if (wire_->delivered == wire_->input.size() && wire_->silentAtEnd) return std::nullopt;
    return Receive(buffer);
  }
  void Close() override { ++wire_->closes; }

 private:
  std::shared_ptr<MemoryWire> wire_;
};

inline http::SocketFactory MemorySockets(const std::shared_ptr<MemoryWire>& wire) {
  return [wire] {
    ++wire->socketsMade;
    return std::make_unique<MemorySocket>(wire);
  };
}

}  // namespace nestova::testing
