#include "http/http_client.h"

#include <utility>
#include <vector>

#include "http/ascii.h"
#include "http/http_errors.h"
#include "http/request.h"
#include "http/text_decoding.h"

namespace nestova::http {
namespace {

bool SaysClose(const ResponseHead& head, std::string_view name) {
  const std::optional<std::string> value = head.Header(name);
  return value && EqualsIgnoringCase(*value, "close");
}

}  // namespace

HttpClient::HttpClient(SocketFactory sockets) : sockets_(std::move(sockets)) {}

HttpClient::~HttpClient() { Disconnect(); }

void HttpClient::Disconnect() {
  reader_.reset();
  if (socket_) socket_->Close();
  socket_.reset();
}

void HttpClient::Get(std::string_view url, ByteSink& destination) {
  const PreparedRequest request = PrepareRequest(url);
  lastResponse_.reset();
  try {
    if (socket_ && target_ != request.target) Disconnect();
    if (!socket_) {
      socket_ = sockets_();
      reader_.emplace(*socket_);
      target_ = request.target;
      socket_->Connect(target_);
    }
    Exchange(request.head, destination);
  } catch (const HttpProtocolError&) {
    throw;  // its response was read whole and the exchange ended normally
  } catch (...) {
    // Whatever is left of the response would spoil the next exchange.
    Disconnect();
    throw;
  }
}

void HttpClient::Exchange(const std::string& requestHead, ByteSink& destination) {
  socket_->SendAll(
      std::span(reinterpret_cast<const uint8_t*>(requestHead.data()), requestHead.size()));

  uint64_t headBytes = 0;
  ResponseHead head = ReadResponseHead(*reader_, headBytes);
  while (head.statusCode == 100) head = ReadResponseHead(*reader_, headBytes);
  lastResponse_ = head;
  const BodyFraming framing = FramingOf(head);

  // Redirects are not followed, whatever the code that carries them.
  const int code = head.statusCode;
  const bool hasLocation = !head.Header("Location").value_or("").empty();
  if ((code >= 300 && code <= 399 && code != 304) || (code != 201 && hasLocation)) {
    FailWithBody(head, framing, BodyWait::kUnlimited);
  }
  if (code >= 200 && code <= 299) {
    if (code == 204) {
      DiscardSink discard;
      ReadBody(*reader_, framing, discard, BodyWait::kBrief);
    } else {
      ReadBody(*reader_, framing, destination, BodyWait::kUnlimited);
    }
    EndExchange(head);
    return;
  }
  if ((code >= 101 && code <= 199) || code == 304) FailWithBody(head, framing, BodyWait::kBrief);
  // 401 and 407 among them: there are no credentials to answer with.
  FailWithBody(head, framing, BodyWait::kUnlimited);
}

void HttpClient::FailWithBody(const ResponseHead& head, const BodyFraming& framing, BodyWait wait) {
  std::vector<uint8_t> body;
  VectorSink sink(body);
  ReadBody(*reader_, framing, sink, wait);
  EndExchange(head);
  throw HttpProtocolError(head.statusCode, head.statusLine, DecodeErrorText(body, CharsetOf(head)));
}

void HttpClient::EndExchange(const ResponseHead& head) {
  if (reader_->PeerClosed() || SaysClose(head, "Connection") ||
      SaysClose(head, "Proxy-Connection")) {
    Disconnect();
  }
}

}  // namespace nestova::http
