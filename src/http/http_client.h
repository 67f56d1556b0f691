#pragma once
// The HTTP client: one GET over plain HTTP/1.1 with fixed settings. No
// secure transport, proxy, credentials, content decoding or redirects; a
// response that is not a success ends the exchange in failure.
#include <memory>
#include <optional>
#include <string_view>

#include "http/body_reader.h"
#include "http/byte_sink.h"
#include "http/response_head.h"
#include "http/response_reader.h"
#include "http/socket.h"

namespace nestova::http {

class HttpClient {
 public:
  // `sockets` makes the socket of each new connection.
  explicit HttpClient(SocketFactory sockets);
  // Closes a connection that is still open.
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Appends the response body to `destination`. Throws HttpError: an
  // HttpProtocolError for a status that ends the exchange, a SocketError for
  // a failed socket operation, a plain HttpError otherwise. The destination
  // keeps the body bytes that arrived before a failure.
  void Get(std::string_view url, ByteSink& destination);

  // A connection stays open after an exchange unless the server closed it
  // or asked for that, or the exchange failed before its response was read.
  bool Connected() const { return socket_ != nullptr; }

  // The final head of the last exchange, once one was read.
  const std::optional<ResponseHead>& LastResponse() const { return lastResponse_; }

 private:
  void Exchange(const std::string& requestHead, ByteSink& destination);
  void Disconnect();
  void EndExchange(const ResponseHead& head);
  [[noreturn]] void FailWithBody(const ResponseHead& head, const BodyFraming& framing,
                                 BodyWait wait);

  SocketFactory sockets_;
  std::unique_ptr<Socket> socket_;
  std::optional<ResponseReader> reader_;  // reads from *socket_
  ConnectTarget target_;
  std::optional<ResponseHead> lastResponse_;
};

}  // namespace nestova::http
