#include "http/socket_posix.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "http/http_errors.h"
#include "http/system_socket.h"

namespace nestova::http {
namespace {

struct ErrnoNumber {
  int error;
  int number;
};

constexpr ErrnoNumber kErrnoNumbers[] = {
    {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},
    {ENFILE, 10024},          {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},        {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},
    {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},        {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053},    {ECONNRESET, 10054},
    {EPIPE, 10054},           {ENOBUFS, 10055},         {ENOMEM, 10055},
    {EISCONN, 10056},         {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {ELOOP, 10062},           {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},
};

[[noreturn]] void ThrowErrno() { throw SocketError(WinsockNumberForErrno(errno)); }

// Owns one file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// Owns a getaddrinfo result.
struct AddrInfoDeleter {
  void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};
using UniqueAddrInfo = std::unique_ptr<addrinfo, AddrInfoDeleter>;

class PosixSocket final : public Socket {
 public:
  void Connect(const ConnectTarget& target) override {
    addrinfo hints{};
    hints.ai_family = target.ipVersion == 6 ? AF_INET6 : AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = target.literal ? AI_NUMERICHOST : 0;
    addrinfo* found = nullptr;
    const int resolved = ::getaddrinfo(target.host.c_str(), nullptr, &hints, &found);
    const UniqueAddrInfo results(found);
    if (resolved == EAI_SYSTEM) ThrowErrno();
    if (resolved != 0) throw SocketError(WinsockNumberForResolverError(resolved));

    sockaddr_storage address{};
    std::memcpy(&address, results->ai_addr, results->ai_addrlen);
    sockaddr_storage local{};
    local.ss_family = static_cast<sa_family_t>(results->ai_family);
    if (results->ai_family == AF_INET6) {
      reinterpret_cast<sockaddr_in6&>(address).sin6_port = htons(target.port);
    } else {
      reinterpret_cast<sockaddr_in&>(address).sin_port = htons(target.port);
    }

    fd_.reset(::socket(results->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd_.get() < 0) ThrowErrno();
    if (::bind(fd_.get(), reinterpret_cast<const sockaddr*>(&local), results->ai_addrlen) != 0) {
      ThrowErrno();
    }
    const int noDelay = 0;
    ::setsockopt(fd_.get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    if (::connect(fd_.get(), reinterpret_cast<const sockaddr*>(&address), results->ai_addrlen) ==
        0) {
      return;
    }
    if (errno != EINTR) ThrowErrno();
    // An interrupted connect goes on in the background: wait for its end.
    pollfd poller{fd_.get(), POLLOUT, 0};
    while (::poll(&poller, 1, -1) < 0) {
      if (errno != EINTR) ThrowErrno();
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) ThrowErrno();
    if (error != 0) throw SocketError(WinsockNumberForErrno(error));
  }

  void SendAll(std::span<const uint8_t> bytes) override {
    while (!bytes.empty()) {
      const ssize_t sent = ::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent < 0) {
        if (errno == EINTR) continue;
        ThrowErrno();
      }
      bytes = bytes.subspan(static_cast<size_t>(sent));
    }
  }

  size_t Receive(std::span<uint8_t> buffer) override {
    for (;;) {
      const ssize_t got = ::recv(fd_.get(), buffer.data(), buffer.size(), 0);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) ThrowErrno();
    }
  }

  std::optional<size_t> ReceiveWithin(std::span<uint8_t> buffer,
                                      std::chrono::milliseconds wait) override {
    pollfd poller{fd_.get(), POLLIN, 0};
    const int ready = ::poll(&poller, 1, static_cast<int>(wait.count()));
    if (ready < 0 && errno != EINTR) ThrowErrno();
    if (ready <= 0) return std::nullopt;
    return Receive(buffer);
  }

  void Close() override {
    if (fd_.get() < 0) return;
    ::shutdown(fd_.get(), SHUT_WR);
    fd_.reset();
  }

 private:
  UniqueFd fd_;
};

}  // namespace

int WinsockNumberForErrno(int error) {
  for (const ErrnoNumber& entry : kErrnoNumbers) {
    if (entry.error == error) return entry.number;
  }
  return 10107;  // no counterpart: "System call failure."
}

int WinsockNumberForResolverError(int error) {
  switch (error) {
    case EAI_NONAME:
      return 11001;  // host not found
    case EAI_AGAIN:
      return 11002;
    case EAI_FAIL:
      return 11003;
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
      return 11004;  // valid name, no address of the kind asked for
    case EAI_FAMILY:
      return 10047;
    case EAI_SOCKTYPE:
      return 10044;
    case EAI_SERVICE:
      return 10109;
    case EAI_MEMORY:
      return 10055;
    case EAI_BADFLAGS:
      return 10022;
    default:
      return 11003;
  }
}

SocketFactory SystemSocketFactory() {
  return [] { return std::make_unique<PosixSocket>(); };
}

}  // namespace nestova::http
