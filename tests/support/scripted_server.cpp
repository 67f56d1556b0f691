#include "support/scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace nestova::testing {
namespace {

constexpr int kWaitMs = 10000;

bool WaitFor(int fd, short events) {
  pollfd p{fd, events, 0};
  int ready;
  do {
    ready = ::poll(&p, 1, kWaitMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Binds a new socket to 127.0.0.1 and a port of the system's choice.
int BoundSocket(uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

ScriptedServer::ScriptedServer(std::vector<Reply> script) : script_(std::move(script)) {
  listener_ = BoundSocket(port_);
  if (::listen(listener_, 8) != 0) throw std::runtime_error("listen failed");
  thread_ = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
  Finish();
  ::close(listener_);
}

void ScriptedServer::Finish() {
  if (thread_.joinable()) thread_.join();
}

bool ScriptedServer::ExtraConnectionPending() const {
  pollfd p{listener_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

bool ScriptedServer::ReadRequest(int fd) {
  std::string request;
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!WaitFor(fd, POLLIN)) {
      problem_ += "no request within the wait; ";
      return false;
    }
    char block[4096];
    const ssize_t got = ::recv(fd, block, sizeof block, 0);
    if (got <= 0) {
      if (!request.empty()) problem_ += "request cut off; ";
      return false;
    }
    request.append(block, static_cast<size_t>(got));
  }
  requests_.push_back(std::move(request));
  return true;
}

void ScriptedServer::Run() {
  size_t next = 0;
  while (next < script_.size()) {
    if (!WaitFor(listener_, POLLIN)) {
      problem_ += "no connection within the wait; ";
      return;
    }
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      problem_ += "accept failed; ";
      return;
    }
    ++connections_;
    Reply::Then then = Reply::Then::kNextRequest;
    while (then == Reply::Then::kNextRequest && next < script_.size()) {
      const Reply& reply = script_[next++];
      then = reply.then;
      if (!ReadRequest(fd)) break;
      for (const std::string& piece : reply.pieces) {
        // A client that gave up early may have gone: not this server's concern.
        if (::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL) < 0) break;
      }
    }
    if (then == Reply::Then::kReset) {
      const linger abort{1, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    } else if (then == Reply::Then::kWaitForClose) {
      char block[4096];
      for (;;) {
        if (!WaitFor(fd, POLLIN)) {
          problem_ += "client kept the connection open; ";
          break;
        }
        if (::recv(fd, block, sizeof block, 0) <= 0) break;
      }
    }
    ::close(fd);
  }
}

RefusingPort::RefusingPort() { fd_ = BoundSocket(port_); }

RefusingPort::~RefusingPort() { ::close(fd_); }

}  // namespace nestova::testing
