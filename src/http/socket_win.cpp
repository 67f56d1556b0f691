// Windows Sockets under the HTTP client. Windows Sockets is started once per
// process, by the first client, and never cleaned up: a worker may still be
// inside a socket call when the process ends.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "http/http_errors.h"
#include "http/system_socket.h"
#include "platform/socket_handle.h"

namespace nestova::http {
namespace {

// The system's text for an error number, in UTF-8, without the final line
// break; empty when the system has none.
std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  // FormatMessage allocated the buffer; LocalFree releases it.
  const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owner(buffer, &::LocalFree);
  if (length == 0) return {};
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

void StartWinsockOnce() {
  // Never destroyed, so the end of the process takes no lock a worker might
  // still hold.
  static std::mutex& lock = *new std::mutex();
  static bool started = false;
  const std::lock_guard<std::mutex> guard(lock);
  if (started) return;
  WSADATA data{};
  const int error = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (error != 0) {
    std::string message = "Error on loading Winsock2 library (WS2_32.DLL)";
    const std::string text = SystemErrorText(static_cast<DWORD>(error));
    if (!text.empty()) message += ": " + text;
    throw HttpError(message);
  }
  started = true;
}

[[noreturn]] void ThrowLastError() { throw SocketError(::WSAGetLastError()); }

struct AddrInfoDeleter {
  void operator()(ADDRINFOA* info) const { ::freeaddrinfo(info); }
};
using UniqueAddrInfo = std::unique_ptr<ADDRINFOA, AddrInfoDeleter>;

class WinsockSocket final : public Socket {
 public:
  WinsockSocket() = default;
  WinsockSocket(const WinsockSocket&) = delete;
  WinsockSocket& operator=(const WinsockSocket&) = delete;
  ~WinsockSocket() override { Close(); }

  void Connect(const ConnectTarget& target) override {
    ADDRINFOA hints{};
    hints.ai_family = target.ipVersion == 6 ? AF_INET6 : AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = target.literal ? AI_NUMERICHOST : 0;
    ADDRINFOA* found = nullptr;
    // getaddrinfo returns Windows Sockets numbers itself (11001 and so on).
    const int resolved = ::getaddrinfo(target.host.c_str(), nullptr, &hints, &found);
    const UniqueAddrInfo results(found);
    if (resolved != 0) throw SocketError(resolved);

    sockaddr_storage address{};
    std::memcpy(&address, results->ai_addr, results->ai_addrlen);
    sockaddr_storage local{};
    local.ss_family = static_cast<ADDRESS_FAMILY>(results->ai_family);
    if (results->ai_family == AF_INET6) {
      reinterpret_cast<sockaddr_in6&>(address).sin6_port = ::htons(target.port);
    } else {
      reinterpret_cast<sockaddr_in&>(address).sin_port = ::htons(target.port);
    }

    socket_.reset(::socket(results->ai_family, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_) ThrowLastError();
    const int addressLength = static_cast<int>(results->ai_addrlen);
    if (::bind(socket_.get(), reinterpret_cast<const sockaddr*>(&local), addressLength) != 0) {
      ThrowLastError();
    }
    const BOOL noDelay = FALSE;
    ::setsockopt(socket_.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                 sizeof noDelay);
    if (::connect(socket_.get(), reinterpret_cast<const sockaddr*>(&address), addressLength) != 0) {
      ThrowLastError();
    }
  }

  void SendAll(std::span<const uint8_t> bytes) override {
    while (!bytes.empty()) {
      const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 30));
      const int sent = ::send(socket_.get(), reinterpret_cast<const char*>(bytes.data()), chunk, 0);
      if (sent == SOCKET_ERROR) ThrowLastError();
      bytes = bytes.subspan(static_cast<size_t>(sent));
    }
  }

  size_t Receive(std::span<uint8_t> buffer) override {
    const int want = static_cast<int>(std::min<size_t>(buffer.size(), 1 << 30));
    const int got = ::recv(socket_.get(), reinterpret_cast<char*>(buffer.data()), want, 0);
    if (got == SOCKET_ERROR) ThrowLastError();
    return static_cast<size_t>(got);
  }

  std::optional<size_t> ReceiveWithin(std::span<uint8_t> buffer,
                                      std::chrono::milliseconds wait) override {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_.get(), &readable);
    timeval limit{};
    limit.tv_sec = static_cast<long>(wait.count() / 1000);
    limit.tv_usec = static_cast<long>((wait.count() % 1000) * 1000);
    const int ready = ::select(0, &readable, nullptr, nullptr, &limit);
    if (ready == SOCKET_ERROR) ThrowLastError();
    if (ready == 0) return std::nullopt;
    return Receive(buffer);
  }

  void Close() override {
    if (!socket_) return;
    ::shutdown(socket_.get(), SD_SEND);
    socket_.reset();
  }

 private:
  platform::UniqueSocket socket_;
};

}  // namespace

SocketFactory SystemSocketFactory() {
  StartWinsockOnce();
  return [] { return std::make_unique<WinsockSocket>(); };
}

}  // namespace nestova::http
