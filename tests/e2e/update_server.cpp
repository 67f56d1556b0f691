#include "update_server.h"

#include <ws2tcpip.h>

#include <vector>

namespace e2e {
namespace {

// Windows Sockets for this process; the driver never cleans it up.
void StartWinsock() {
  static const bool started = [] {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

// True when `fd` becomes readable within `ms`.
bool Readable(SOCKET fd, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(fd, &set);
  timeval limit{ms / 1000, (ms % 1000) * 1000};
  return ::select(0, &set, nullptr, nullptr, &limit) == 1;
}

}  // namespace

UpdateServer::UpdateServer(uint16_t port, std::string response) : response_(std::move(response)) {
  StartWinsock();
  listener_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!listener_) return;
  const BOOL reuse = TRUE;
  ::setsockopt(listener_.get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
               sizeof reuse);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_.get(), 4) != 0) {
    listener_.reset();
    return;
  }
  thread_ = std::thread([this] { Run(); });
}

UpdateServer::~UpdateServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

std::string UpdateServer::LastRequest() const {
  const std::lock_guard<std::mutex> guard(lastLock_);
  return last_;
}

void UpdateServer::Run() {
  std::vector<nestova::platform::UniqueSocket> stalled;  // open until the server goes
  while (!stopping_) {
    if (!Readable(listener_.get(), 100)) continue;
    nestova::platform::UniqueSocket client(::accept(listener_.get(), nullptr, nullptr));
    if (!client) continue;
    std::string head;
    char buffer[4096];
    // Every wait is bounded: a client that sends no head is dropped.
    for (int waits = 0; head.find("\r\n\r\n") == std::string::npos && waits < 50 && !stopping_;) {
      if (!Readable(client.get(), 100)) {
        ++waits;
        continue;
      }
      const int got = ::recv(client.get(), buffer, sizeof buffer, 0);
      if (got <= 0) break;
      head.append(buffer, static_cast<size_t>(got));
    }
    if (head.find("\r\n\r\n") == std::string::npos) continue;
    {
      const std::lock_guard<std::mutex> guard(lastLock_);
      last_ = head;
    }
    ++requests_;
    if (response_.empty()) {
      stalled.push_back(std::move(client));
      continue;
    }
    ::send(client.get(), response_.data(), static_cast<int>(response_.size()), 0);
    ::shutdown(client.get(), SD_SEND);
  }
}

}  // namespace e2e
