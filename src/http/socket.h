#pragma once
// The stream socket under the HTTP client: just what one GET needs, so that
// the client runs unchanged on Winsock, on POSIX sockets and in memory.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace nestova::http {

struct ConnectTarget {
  std::string host;      // a name for the resolver, or a numeric address
  bool literal = false;  // host is a numeric address: no resolver is asked
  int ipVersion = 4;     // 4 or 6
  uint16_t port = 0;

  bool operator==(const ConnectTarget&) const = default;
};

// Every operation that fails throws SocketError.
class Socket {
 public:
  virtual ~Socket() = default;

  virtual void Connect(const ConnectTarget& target) = 0;
  virtual void SendAll(std::span<const uint8_t> bytes) = 0;
  // Waits without limit; the number of bytes read, 0 when the peer closed.
  virtual size_t Receive(std::span<uint8_t> buffer) = 0;
  // As Receive, but nullopt when nothing came within `wait`.
  virtual std::optional<size_t> ReceiveWithin(std::span<uint8_t> buffer,
                                              std::chrono::milliseconds wait) = 0;
  // Shuts the send side down, then closes; later calls do nothing.
  virtual void Close() = 0;
};

using SocketFactory = std::function<std::unique_ptr<Socket>()>;

}  // namespace nestova::http
