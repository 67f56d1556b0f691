// The client over an in-memory socket: any split of the bytes, the bounds on
// what a server may send, and what the client does with its connection.
#include "http/http_client.h"

#include <gtest/gtest.h>

#include "http/http_limits.h"
#include "support/http_outcome.h"
#include "support/memory_socket.h"

namespace nestova::http {
namespace {

using testing::Fetch;
using testing::MemorySockets;
using testing::MemoryWire;
using testing::Ok;
using testing::Outcome;
using testing::Plain;
using testing::Protocol;

constexpr std::string_view kUrl = "http://update.example.com/dataversion/nsv.txt";

std::shared_ptr<MemoryWire> Wire(std::string input, std::vector<size_t> readSizes = {}) {
  auto wire = std::make_shared<MemoryWire>();
  wire->input = std::move(input);
  wire->readSizes = std::move(readSizes);
  return wire;
}

Outcome GetOver(const std::shared_ptr<MemoryWire>& wire, std::string_view url = kUrl) {
  HttpClient client(MemorySockets(wire));
  return Fetch(client, url);
}

struct SplitCase {
  const char* name;
  std::string response;
  Outcome expected;
};

const std::vector<SplitCase>& SplitCases() {
  static const std::vector<SplitCase> cases = {
      {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", Ok("hello")},
      {"to close", "HTTP/1.1 200 OK\nServer: x\n\nhello\r\nworld", Ok("hello\r\nworld")},
      {"chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "3;x=y\r\nhel\r\n2\r\nlo\r\n0\r\nTrailer: t\r\n\r\n",
       Ok("hello")},
      {"100 first",
       "HTTP/1.1 100 Continue\r\nX: y\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
       Ok("ok")},
      {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone",
       Protocol(404, "HTTP/1.1 404 Not Found", u"gone")},
      {"short length", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nhello",
       Plain("Connection Closed Gracefully.", "hello")},
      {"cut in chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel",
       Plain("Connection Closed Gracefully.", "hel")},
  };
  return cases;
}

TEST(HttpClient, SameResultWhateverTheReadSizes) {
  const std::vector<std::vector<size_t>> splits = {{}, {1}, {2}, {3, 1}, {7}, {16, 1, 5}};
  for (const SplitCase& c : SplitCases()) {
    for (const std::vector<size_t>& split : splits) {
      const auto wire = Wire(c.response, split);
      EXPECT_EQ(GetOver(wire), c.expected)
          << c.name << ", reads of " << (split.empty() ? 0 : split[0]);
      EXPECT_TRUE(wire->sawEnd || wire->delivered == wire->input.size()) << c.name;
    }
  }
}

TEST(HttpClient, SendsTheHeadInOneSendAndConnectsToTheUrlsHost) {
  const auto wire = Wire("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(GetOver(wire, "http://update.example.com:8080/dataversion/nsv.txt?v=1#top"), Ok(""));
  ASSERT_EQ(wire->sends.size(), 1u);
  EXPECT_EQ(wire->sends[0],
            "GET /dataversion/nsv.txt?v=1 HTTP/1.1\r\n"
            "Host: update.example.com:8080\r\n"
            "Accept: text/html, */*\r\n"
            "Accept-Encoding: identity\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n"
            "\r\n");
  ASSERT_EQ(wire->connects.size(), 1u);
  EXPECT_EQ(wire->connects[0], (ConnectTarget{"update.example.com", false, 4, 8080}));
}

TEST(HttpClient, PortEightyWrittenOutIsLeftOutOfTheHostHeader) {
  const auto wire = Wire("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(GetOver(wire, "http://update.example.com:80/x"), Ok(""));
  ASSERT_EQ(wire->sends.size(), 1u);
  EXPECT_NE(wire->sends[0].find("\r\nHost: update.example.com\r\n"), std::string::npos);
  EXPECT_EQ(wire->connects.at(0).port, 80);
}

TEST(HttpClient, LocalhostInAnyCaseIsTheLoopbackAddress) {
  for (const std::string_view url :
       {"http://LOCALHOST:81/x", "http://localhost/x", "http://lOcAlHoSt/x"}) {
    const auto wire = Wire("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(GetOver(wire, url), Ok("")) << url;
    ASSERT_EQ(wire->connects.size(), 1u) << url;
    EXPECT_EQ(wire->connects[0].host, "127.0.0.1") << url;
    EXPECT_TRUE(wire->connects[0].literal) << url;  // no resolver
  }
}

TEST(HttpClient, FailuresBeforeAnyConnection) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"https://update.example.com/x", "IOHandler value is not valid"},
      {"ftp://update.example.com/x", "Unknown Protocol"},
  };
  for (const auto& [url, message] : cases) {
    const auto wire = Wire("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(GetOver(wire, url), Plain(std::string(message))) << url;
    EXPECT_EQ(wire->socketsMade, 0) << url;
  }
}

TEST(HttpClient, ConnectFailureIsASocketError) {
  const auto wire = Wire("");
  wire->connectError = 10061;
  HttpClient client(MemorySockets(wire));
  EXPECT_EQ(Fetch(client, kUrl),
            testing::Socket(10061, "Socket Error # 10061\r\nConnection refused."));
  EXPECT_FALSE(client.Connected());
  EXPECT_TRUE(wire->sends.empty());
}

TEST(HttpClient, BodyIsAppendedToTheDestination) {
  const auto wire = Wire("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc");
  HttpClient client(MemorySockets(wire));
  std::vector<uint8_t> bytes = {'x', 'y'};
  VectorSink sink(bytes);
  client.Get(kUrl, sink);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "xyabc");
}

// What a server may send at most, right at the limit and one past it.
struct BoundCase {
  const char* name;
  std::string response;
  Outcome expected;
};

std::string Repeat(std::string_view piece, size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::string HeaderLines(size_t count) {
  std::string lines;
  for (size_t i = 0; i < count; ++i) lines += "X-" + std::to_string(i) + ": v\r\n";
  return lines;
}

const std::vector<BoundCase>& BoundCases() {
  const std::string full(kMaxBodyBytes, 'b');
  static const std::vector<BoundCase> cases = {
      {"256 header lines", "HTTP/1.1 200 OK\r\n" + HeaderLines(255) + "Content-Length: 1\r\n\r\nz",
       Ok("z")},
      {"257 header lines", "HTTP/1.1 200 OK\r\n" + HeaderLines(256) + "Content-Length: 1\r\n\r\nz",
       Plain("Too many header lines in the response.")},
      // A continuation line is a line of the head too.
      {"257 lines with continuations",
       "HTTP/1.1 200 OK\r\nX: a\r\n" + Repeat(" b\r\n", 256) + "Content-Length: 1\r\n\r\nz",
       Plain("Too many header lines in the response.")},
      {"head of 64 KiB",
       // 17 + 64 * 1022 + 90 + 19 + 2 bytes = 65536.
       "HTTP/1.1 200 OK\r\n" + Repeat("X: " + std::string(1017, 'h') + "\r\n", 64) +
           "Y: " + std::string(85, 'h') + "\r\n" + "Content-Length: 1\r\n\r\nz",
       Ok("z")},
      {"head of 64 KiB and one byte",
       "HTTP/1.1 200 OK\r\n" + Repeat("X: " + std::string(1017, 'h') + "\r\n", 64) +
           "Y: " + std::string(86, 'h') + "\r\n" + "Content-Length: 1\r\n\r\nz",
       Plain("Response head too large.")},
      {"endless interim heads", Repeat("HTTP/1.1 100 Continue\r\n\r\n", 5000),
       Plain("Response head too large.")},
      {"line of 16384 bytes",
       "HTTP/1.1 200 OK\r\nX: " + std::string(16384 - 4, 'l') + "\r\nContent-Length: 1\r\n\r\nz",
       Ok("z")},
      {"line of 16385 bytes",
       "HTTP/1.1 200 OK\r\nX: " + std::string(16384 - 3, 'l') + "\r\nContent-Length: 1\r\n\r\nz",
       Plain("Max line length exceeded.")},
      {"status line without end", "HTTP/1.1 200 OK" + std::string(20000, ' '),
       Plain("Max line length exceeded.")},
      {"length of 1 MiB", "HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n" + full, Ok(full)},
      {"length of 1 MiB and one byte",
       "HTTP/1.1 200 OK\r\nContent-Length: 1048577\r\n\r\n" + full + "b",
       Plain("Response body too large.")},
      {"length far beyond", "HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775807\r\n\r\nb",
       Plain("Response body too large.")},
      {"to close, 1 MiB", "HTTP/1.1 200 OK\r\n\r\n" + full, Ok(full)},
      {"to close, 1 MiB and one byte", "HTTP/1.1 200 OK\r\n\r\n" + full + "b",
       Plain("Response body too large.", full)},
      {"chunks of 1 MiB together",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n80000\r\n" + full.substr(0, 524288) +
           "\r\n80000\r\n" + full.substr(0, 524288) + "\r\n0\r\n\r\n",
       Ok(full)},
      {"chunks of 1 MiB and one byte together",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n80000\r\n" + full.substr(0, 524288) +
           "\r\n80001\r\n" + full.substr(0, 524289) + "\r\n0\r\n\r\n",
       Plain("Response body too large.", full.substr(0, 524288))},
      {"error body beyond the bound", "HTTP/1.1 500 Internal Server Error\r\n\r\n" + full + "b",
       Plain("Response body too large.")},
      {"overflowing chunk size",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: "
       "chunked\r\n\r\n10000000000000005\r\nhello\r\n0\r\n\r\n",
       Plain("Invalid chunk size.")},
      {"overflowing length reads to the close",
       "HTTP/1.1 200 OK\r\nContent-Length: 18446744073709551621\r\n\r\nhello", Ok("hello")},
  };
  return cases;
}

TEST(HttpClient, Bounds) {
  for (const BoundCase& c : BoundCases()) {
    const auto wire = Wire(c.response);
    const Outcome outcome = GetOver(wire);
    EXPECT_EQ(outcome, c.expected) << c.name;
    EXPECT_LE(outcome.body.size(), kMaxBodyBytes) << c.name;
  }
}

TEST(HttpClient, BriefWaitForStatusesWithoutBody) {
  // The server says nothing more and keeps the connection: nothing is waited for.
  auto wire = Wire("HTTP/1.1 204 No Content\r\n\r\n");
  wire->silentAtEnd = true;
  EXPECT_EQ(GetOver(wire), Ok(""));
  wire = Wire("HTTP/1.1 304 Not Modified\r\nContent-Length: 10\r\n\r\n");
  wire->silentAtEnd = true;
  EXPECT_EQ(GetOver(wire), Protocol(304, "HTTP/1.1 304 Not Modified", u""));
  wire = Wire("HTTP/1.1 101 Switching Protocols\r\n\r\n");
  wire->silentAtEnd = true;
  EXPECT_EQ(GetOver(wire), Protocol(101, "HTTP/1.1 101 Switching Protocols", u""));
  // Data that is there is read: thrown away for 204, error text for 304.
  EXPECT_EQ(GetOver(Wire("HTTP/1.1 204 No Content\r\n\r\njunk")), Ok(""));
  EXPECT_EQ(GetOver(Wire("HTTP/1.1 304 Not Modified\r\n\r\nabc")),
            Protocol(304, "HTTP/1.1 304 Not Modified", u"abc"));
  // A chunked body is read whatever the status.
  wire = Wire("HTTP/1.1 204 No Content\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
  wire->silentAtEnd = true;
  EXPECT_EQ(GetOver(wire), Ok(""));
  EXPECT_EQ(wire->delivered, wire->input.size());
}

TEST(HttpClient, ConnectionStaysOpenUnlessClosedOrAskedTo) {
  struct Case {
    const char* name;
    std::string response;
    bool open;
  };
  const Case cases[] = {
      {"length", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nz", true},
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", true},
      {"to close", "HTTP/1.1 200 OK\r\n\r\nz", false},
      {"Connection: close", "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 1\r\n\r\nz",
       false},
      {"Connection:  CLOSE ",
       "HTTP/1.1 200 OK\r\nConnection:  CLOSE \r\nContent-Length: 1\r\n\r\nz", false},
      {"Proxy-Connection: close",
       "HTTP/1.1 200 OK\r\nProxy-Connection: close\r\nContent-Length: 1\r\n\r\nz", false},
      {"Connection: keep-alive",
       "HTTP/1.1 200 OK\r\nConnection: keep-alive\r\nContent-Length: 1\r\n\r\nz", true},
      {"404 with a length", "HTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\nz", true},
      {"404 with close",
       "HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 1\r\n\r\nz", false},
      {"framing failure", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false},
  };
  for (const Case& c : cases) {
    const auto wire = Wire(c.response);
    wire->silentAtEnd = true;
    {
      HttpClient client(MemorySockets(wire));
      Fetch(client, kUrl);
      EXPECT_EQ(client.Connected(), c.open) << c.name;
      EXPECT_EQ(wire->closes, c.open ? 0 : 1) << c.name;
    }
    EXPECT_EQ(wire->closes, 1) << c.name << ": released client";
  }
}

TEST(HttpClient, OpenConnectionServesTheNextGetToTheSameServer) {
  const auto wire = Wire(
      "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\na"
      "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nb");
  HttpClient client(MemorySockets(wire));
  EXPECT_EQ(Fetch(client, "http://h.example/1"), Ok("a"));
  EXPECT_EQ(Fetch(client, "http://h.example/2"), Ok("b"));
  EXPECT_EQ(wire->socketsMade, 1);
  EXPECT_EQ(wire->sends.size(), 2u);
  // Another server needs another connection.
  EXPECT_EQ(Fetch(client, "http://other.example/3").kind, Outcome::Kind::kPlain);
  EXPECT_EQ(wire->socketsMade, 2);
  EXPECT_EQ(wire->connects.back().host, "other.example");
}

}  // namespace
}  // namespace nestova::http
