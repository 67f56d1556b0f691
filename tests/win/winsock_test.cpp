// The HTTP client on Windows Sockets: its failures carry the system's
// numbers, and the library starts once however many threads ask at once.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "http/byte_sink.h"
#include "http/http_client.h"
#include "http/http_errors.h"
#include "http/system_socket.h"

namespace nestova::http {
namespace {

// A port on 127.0.0.1 with nobody listening: bound, never listened on.
uint16_t RefusingPort(SOCKET s) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  return ::ntohs(address.sin_port);
}

TEST(Winsock, StartsOnceForManyThreads) {
  std::vector<std::thread> threads;
  std::vector<int> ok(8, 0);
  for (size_t i = 0; i < ok.size(); ++i) {
    threads.emplace_back([&, i] { ok[i] = SystemSocketFactory()() != nullptr; });
  }
  for (std::thread& t : threads) t.join();
  for (const int o : ok) EXPECT_EQ(o, 1);
}

TEST(Winsock, ARefusedConnectionIsASocketErrorWithItsNumber) {
  const SocketFactory sockets = SystemSocketFactory();
  const SOCKET holder = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  const uint16_t port = RefusingPort(holder);
  std::vector<uint8_t> body;
  VectorSink sink(body);
  HttpClient client(sockets);
  try {
    client.Get("http://127.0.0.1:" + std::to_string(port) + "/dataversion/nsv.txt", sink);
    ADD_FAILURE() << "no failure";
  } catch (const SocketError& e) {
    EXPECT_EQ(e.Number(), 10061);
    EXPECT_STREQ(e.what(), "Socket Error # 10061\r\nConnection refused.");
  }
  ::closesocket(holder);
}

TEST(Winsock, AnUnknownHostIsASocketError) {
  std::vector<uint8_t> body;
  VectorSink sink(body);
  HttpClient client(SystemSocketFactory());
  EXPECT_THROW(client.Get("http://no-such-host.invalid/dataversion/nsv.txt", sink), SocketError);
}

}  // namespace
}  // namespace nestova::http
