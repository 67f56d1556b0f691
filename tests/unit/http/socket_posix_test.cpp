#include "http/socket_posix.h"

#include <netdb.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "http/http_errors.h"

namespace nestova::http {
namespace {

TEST(SocketErrors, ErrnoReadsAsTheWindowsSocketsNumber) {
  const std::pair<int, int> cases[] = {
      {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},    {ECONNRESET, 10054}, {EPIPE, 10054},
      {ENETUNREACH, 10051},  {EHOSTUNREACH, 10065}, {EADDRINUSE, 10048}, {EINTR, 10004},
      {ENOTCONN, 10057},     {EMFILE, 10024},       {EISDIR, 10107},
  };
  for (const auto& [error, number] : cases)
    EXPECT_EQ(WinsockNumberForErrno(error), number) << error;
}

TEST(SocketErrors, ResolverResultsReadAsTheWindowsSocketsNumber) {
  const std::pair<int, int> cases[] = {
      {EAI_NONAME, 11001}, {EAI_AGAIN, 11002},  {EAI_FAIL, 11003},
      {EAI_FAMILY, 10047}, {EAI_MEMORY, 10055}, {EAI_SERVICE, 10109},
  };
  for (const auto& [error, number] : cases) {
    EXPECT_EQ(WinsockNumberForResolverError(error), number) << error;
  }
}

TEST(SocketErrors, MessageNamesNumberAndText) {
  const std::pair<int, std::string_view> cases[] = {
      {11001, "Socket Error # 11001\r\nHost not found."},
      {10060, "Socket Error # 10060\r\nConnection timed out."},
      {10061, "Socket Error # 10061\r\nConnection refused."},
      {10054, "Socket Error # 10054\r\nConnection reset by peer."},
      {10013, "Socket Error # 10013\r\nAccess denied."},
      {12345, "Socket Error # 12345\r\nUnknown socket error."},
  };
  for (const auto& [number, message] : cases) {
    const SocketError error(number);
    EXPECT_EQ(error.what(), message);
    EXPECT_EQ(error.Number(), number);
  }
}

}  // namespace
}  // namespace nestova::http
