// The client against a scripted server on 127.0.0.1 over real sockets: the
// exact request on the wire, every status and framing case, and the answers
// a careless or hostile server gives.
#include <gtest/gtest.h>

#include "http/http_client.h"
#include "http/system_socket.h"
#include "support/http_outcome.h"
#include "support/scripted_server.h"

namespace nestova::http {
namespace {

using testing::Fetch;
using testing::Ok;
using testing::Outcome;
using testing::Plain;
using testing::Protocol;
using testing::Reply;
using testing::ScriptedServer;
using Then = Reply::Then;

std::string ExpectedRequest(std::string_view requestUri, std::string_view host) {
  return "GET " + std::string(requestUri) + " HTTP/1.1\r\nHost: " + std::string(host) +
         "\r\nAccept: text/html, */*\r\nAccept-Encoding: identity\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n\r\n";
}

// The system's sockets, with every send counted.
class CountingSocket final : public Socket {
 public:
  CountingSocket(std::unique_ptr<Socket> inner, int& sends)
      : inner_(std::move(inner)), sends_(sends) {}
  void Connect(const ConnectTarget& target) override { inner_->Connect(target); }
  void SendAll(std::span<const uint8_t> bytes) override {
    ++sends_;
    inner_->SendAll(bytes);
  }
  size_t Receive(std::span<uint8_t> buffer) override { return inner_->Receive(buffer); }
  std::optional<size_t> ReceiveWithin(std::span<uint8_t> buffer,
                                      std::chrono::milliseconds wait) override {
    return inner_->ReceiveWithin(buffer, wait);
  }
  void Close() override { inner_->Close(); }

 private:
  std::unique_ptr<Socket> inner_;
  int& sends_;
};

SocketFactory CountingSockets(int& sends, int& sockets) {
  return [&sends, &sockets, system = SystemSocketFactory()] {
    ++sockets;
    return std::make_unique<CountingSocket>(system(), sends);
  };
}

Reply Answer(std::string bytes, Then then = Then::kClose) {
  return Reply{{std::move(bytes)}, then};
}

struct ExchangeCase {
  const char* name;
  std::vector<Reply> script;
  Outcome expected;
  bool connectedAfter = false;
};

const std::string kGzip(
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\x48\xcd\xc9\xc9\x07\x00\x86\xa6\x10\x36\x05\x00"
    "\x00\x00",
    25);

std::string TooManyHeaderLines() {
  std::string head = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 257; ++i) head += "X-" + std::to_string(i) + ": v\r\n";
  return head + "\r\n";
}

const std::vector<ExchangeCase>& ExchangeCases() {
  static const std::vector<ExchangeCase> cases = {
      {"Content-Length exact",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"Content-Length across sends",
       {Reply{{"HTTP/1.1 200 OK\r\nContent-Le", "ngth: 5\r\n\r\nhe", "llo"}, Then::kWaitForClose}},
       Ok("hello"),
       true},
      {"Content-Length short: the bytes stay, the GET fails",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello")},
       Plain("Connection Closed Gracefully.", "hello")},
      {"Content-Length 0",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", Then::kWaitForClose)},
       Ok(""),
       true},
      {"read to close",
       {Reply{{"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nuntil ", "the end"}}},
       Ok("until the end")},
      {"chunked",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
               Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"chunked with an extension",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
               "chunked\r\n\r\n5;name=value\r\nhello\r\n0\r\n\r\n",
               Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"chunked in pieces, upper-case size, trailer",
       {Reply{{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nA\r\n0123",
               "456789\r\n3 \r\na", "bc\r\n0\r\nX-Trailer: 1\r\n\r\n"},
              Then::kWaitForClose}},
       Ok("0123456789abc"),
       true},
      {"chunked, closed inside a chunk",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel")},
       Plain("Connection Closed Gracefully.", "hel")},
      {"chunked, closed before the last chunk",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n")},
       Plain("Connection Closed Gracefully.", "hello")},
      {"chunked, closed after the last chunk",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n")},
       Ok("hello")},
      {"chunk size without digits",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n;x\r\nhello\r\n0\r\n\r\n")},
       Plain("Invalid chunk size.")},
      {"chunk size overflowing",
       {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
               "10000000000000005\r\nhello\r\n0\r\n\r\n")},
       Plain("Invalid chunk size.")},
      {"100 then 200",
       {Answer("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
               Then::kWaitForClose)},
       Ok("ok"),
       true},
      {"301 with Location",
       {Answer("HTTP/1.1 301 Moved Permanently\r\nLocation: /elsewhere\r\nContent-Length: "
               "5\r\n\r\nmoved",
               Then::kWaitForClose)},
       Protocol(301, "HTTP/1.1 301 Moved Permanently", u"moved"),
       true},
      {"302 with Location",
       {Answer("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nConnection: close\r\n\r\n")},
       Protocol(302, "HTTP/1.1 302 Found", u"")},
      {"200 with Location",
       {Answer("HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\nContent-Length: 5\r\n\r\nhello",
               Then::kWaitForClose)},
       Protocol(200, "HTTP/1.1 200 OK", u"hello"),
       true},
      {"200 with an empty Location",
       {Answer("HTTP/1.1 200 OK\r\nLocation:  \r\nContent-Length: 5\r\n\r\nhello",
               Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"201 with Location",
       {Answer("HTTP/1.1 201 Created\r\nLocation: /new\r\nContent-Length: 5\r\n\r\nhello",
               Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"204, connection kept",
       {Answer("HTTP/1.1 204 No Content\r\n\r\n", Then::kWaitForClose)},
       Ok(""),
       true},
      {"204 with data that is thrown away",
       {Answer("HTTP/1.1 204 No Content\r\n\r\njunk")},
       Ok("")},
      {"304 without body, connection kept",
       {Answer("HTTP/1.1 304 Not Modified\r\n\r\n", Then::kWaitForClose)},
       Protocol(304, "HTTP/1.1 304 Not Modified", u""),
       true},
      {"304 with body",
       {Answer("HTTP/1.1 304 Not Modified\r\nContent-Length: 3\r\n\r\nabc")},
       Protocol(304, "HTTP/1.1 304 Not Modified", u"abc"),
       true},
      {"401",
       {Answer("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"
               "Content-Length: 6\r\n\r\ndenied",
               Then::kWaitForClose)},
       Protocol(401, "HTTP/1.1 401 Unauthorized", u"denied"),
       true},
      {"404",
       {Answer("HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 9\r\n\r\nnot "
               "found",
               Then::kWaitForClose)},
       Protocol(404, "HTTP/1.1 404 Not Found", u"not found"),
       true},
      {"404 with UTF-8 text",
       {Answer("HTTP/1.1 404 Not Found\r\nContent-Type: text/plain; charset=utf-8\r\n"
               "Connection: close\r\n\r\n\xD0\xBD\xD0\xB5\xD1\x82")},
       Protocol(404, "HTTP/1.1 404 Not Found", u"\u043D\u0435\u0442")},
      {"500, body to the close",
       {Answer("HTTP/1.1 500 Internal Server Error\r\n\r\nboom \xE9")},
       Protocol(500, "HTTP/1.1 500 Internal Server Error", u"boom \u00E9")},
      {"status without a number",
       {Answer("HTTP/1.1 OK\r\nContent-Length: 0\r\n\r\n", Then::kWaitForClose)},
       Protocol(-1, "HTTP/1.1 OK", u""),
       true},
      {"bytes beyond ASCII in the status line",
       {Answer("HTTP/1.1 404 N\xE4t Found\r\nContent-Length: 0\r\n\r\n", Then::kWaitForClose)},
       Protocol(404, "HTTP/1.1 404 N?t Found", u""),
       true},
      {"silent close", {Answer("")}, Plain("Connection Closed Gracefully.")},
      {"closed inside the status line",
       {Answer("HTTP/1.1 200")},
       Plain("Connection Closed Gracefully.")},
      {"head cut off before its empty line",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n")},
       Plain("Connection Closed Gracefully.")},
      {"header names in odd case",
       {Answer("HTTP/1.1 200 OK\r\ncontent-length: 5\r\n\r\nhello", Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"TRANSFER-ENCODING: CHUNKED",
       {Answer("HTTP/1.1 200 OK\r\nTRANSFER-ENCODING: CHUNKED\r\n\r\n2\r\nok\r\n0\r\n\r\n",
               Then::kWaitForClose)},
       Ok("ok"),
       true},
      {"gzip passed through",
       {Answer("HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 25\r\n\r\n" + kGzip,
               Then::kWaitForClose)},
       Ok(kGzip),
       true},
      {"Connection: close is honoured",
       {Answer("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok",
               Then::kWaitForClose)},
       Ok("ok")},
      {"connection reset",
       {Answer("", Then::kReset)},
       testing::Socket(10054, "Socket Error # 10054\r\nConnection reset by peer.")},
      {"two differing Content-Length values",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nhello!",
               Then::kWaitForClose)},
       Plain("Conflicting Content-Length values.")},
      {"two equal Content-Length values",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 5\r\n\r\nhello",
               Then::kWaitForClose)},
       Ok("hello"),
       true},
      {"overflowing Content-Length is no number",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 18446744073709551621\r\n\r\nhello")},
       Ok("hello")},
      {"Content-Length beyond the bound, refused before the body",
       {Answer("HTTP/1.1 200 OK\r\nContent-Length: 1048577\r\n\r\n", Then::kWaitForClose)},
       Plain("Response body too large.")},
      {"body to the close beyond the bound",
       {Answer("HTTP/1.1 200 OK\r\n\r\n" + std::string(1048577, 'b'))},
       Plain("Response body too large.", std::string(1048576, 'b'))},
      {"too many header lines",
       {Answer(TooManyHeaderLines(), Then::kWaitForClose)},
       Plain("Too many header lines in the response.")},
      {"line too long",
       {Answer("HTTP/1.1 200 OK\r\nX: " + std::string(16400, 'l') + "\r\n\r\n",
               Then::kWaitForClose)},
       Plain("Max line length exceeded.")},
  };
  return cases;
}

TEST(HttpExchange, ScriptedServer) {
  for (const ExchangeCase& c : ExchangeCases()) {
    SCOPED_TRACE(c.name);
    ScriptedServer server(c.script);
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    int sends = 0;
    int sockets = 0;
    {
      HttpClient client(CountingSockets(sends, sockets));
      EXPECT_EQ(Fetch(client, "http://" + host + "/dataversion/nsv.txt"), c.expected);
      EXPECT_EQ(client.Connected(), c.connectedAfter);
    }
    server.Finish();
    EXPECT_EQ(server.Problem(), "");
    EXPECT_EQ(server.Requests(),
              std::vector<std::string>{ExpectedRequest("/dataversion/nsv.txt", host)});
    EXPECT_EQ(sends, 1);  // the head in one piece
    EXPECT_EQ(sockets, 1);
    EXPECT_FALSE(server.ExtraConnectionPending());  // no redirect followed, nothing retried
  }
}

TEST(HttpExchange, HostHeaderAndLocalhostInAnyCase) {
  for (const std::string_view name : {"LOCALHOST", "localhost", "LocalHost"}) {
    ScriptedServer server({Answer("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    const std::string host = std::string(name) + ":" + std::to_string(server.Port());
    {
      HttpClient client(SystemSocketFactory());
      EXPECT_EQ(Fetch(client, "http://" + host + "/a/b.txt?x=1#frag"), Ok("ok")) << name;
    }
    server.Finish();
    EXPECT_EQ(server.Problem(), "");
    EXPECT_EQ(server.Requests(), std::vector<std::string>{ExpectedRequest("/a/b.txt?x=1", host)});
  }
}

TEST(HttpExchange, HttpsFailsBeforeAnyConnection) {
  ScriptedServer server({});
  int sends = 0;
  int sockets = 0;
  HttpClient client(CountingSockets(sends, sockets));
  EXPECT_EQ(Fetch(client, "https://127.0.0.1:" + std::to_string(server.Port()) + "/x"),
            Plain("IOHandler value is not valid"));
  EXPECT_EQ(sockets, 0);
  server.Finish();
  EXPECT_FALSE(server.ExtraConnectionPending());
}

TEST(HttpExchange, ConnectionRefused) {
  const testing::RefusingPort port;
  HttpClient client(SystemSocketFactory());
  EXPECT_EQ(Fetch(client, "http://127.0.0.1:" + std::to_string(port.Port()) + "/x"),
            testing::Socket(10061, "Socket Error # 10061\r\nConnection refused."));
  EXPECT_FALSE(client.Connected());
}

TEST(HttpExchange, OpenConnectionCarriesTheNextGet) {
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\na", Then::kNextRequest),
       Answer("HTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\nb", Then::kNextRequest),
       Answer("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nc", Then::kWaitForClose)});
  const std::string host = "127.0.0.1:" + std::to_string(server.Port());
  {
    HttpClient client(SystemSocketFactory());
    EXPECT_EQ(Fetch(client, "http://" + host + "/1"), Ok("a"));
    EXPECT_EQ(Fetch(client, "http://" + host + "/2"),
              Protocol(404, "HTTP/1.1 404 Not Found", u"b"));
    EXPECT_EQ(Fetch(client, "http://" + host + "/3"), Ok("c"));
  }
  server.Finish();
  EXPECT_EQ(server.Problem(), "");
  EXPECT_EQ(server.Connections(), 1);
  EXPECT_EQ(server.Requests(),
            (std::vector<std::string>{ExpectedRequest("/1", host), ExpectedRequest("/2", host),
                                      ExpectedRequest("/3", host)}));
}

TEST(HttpExchange, ClosedConnectionIsNotReused) {
  ScriptedServer server(
      {Answer("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 1\r\n\r\na",
              Then::kWaitForClose),
       Answer("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nb", Then::kWaitForClose)});
  const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/x";
  {
    HttpClient client(SystemSocketFactory());
    EXPECT_EQ(Fetch(client, url), Ok("a"));
    EXPECT_EQ(Fetch(client, url), Ok("b"));
  }
  server.Finish();
  EXPECT_EQ(server.Problem(), "");
  EXPECT_EQ(server.Connections(), 2);
}

}  // namespace
}  // namespace nestova::http
