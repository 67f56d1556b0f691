#pragma once
// What one GET came to, in a form that a table of cases can spell out.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "http/http_client.h"
#include "http/http_errors.h"

namespace nestova::testing {

struct Outcome {
  enum class Kind { kOk, kPlain, kProtocol, kSocket };
  Kind kind = Kind::kOk;
  std::string message;  // failures only
  int number = 0;       // status code or socket error number
  std::u16string errorText;
  std::string body;  // what reached the destination, failure or not

  bool operator==(const Outcome&) const = default;
};

inline Outcome Ok(std::string body) { return {Outcome::Kind::kOk, "", 0, u"", std::move(body)}; }
inline Outcome Plain(std::string message, std::string body = "") {
  return {Outcome::Kind::kPlain, std::move(message), 0, u"", std::move(body)};
}
inline Outcome Protocol(int code, std::string statusLine, std::u16string errorText) {
  return {Outcome::Kind::kProtocol, std::move(statusLine), code, std::move(errorText), ""};
}
inline Outcome Socket(int number, std::string message) {
  return {Outcome::Kind::kSocket, std::move(message), number, u"", ""};
}

inline Outcome Fetch(http::HttpClient& client, std::string_view url) {
  std::vector<uint8_t> bytes;
  http::VectorSink sink(bytes);
  Outcome outcome;
  try {
    client.Get(url, sink);
  } catch (const http::HttpProtocolError& e) {
    outcome = Protocol(e.Code(), e.what(), e.ErrorText());
  } catch (const http::SocketError& e) {
    outcome = Socket(e.Number(), e.what());
  } catch (const http::HttpError& e) {
    outcome = Plain(e.what());
  }
  outcome.body.assign(bytes.begin(), bytes.end());
  return outcome;
}

inline void PrintTo(const Outcome& o, std::ostream* out) {
  static const char* const kKinds[] = {"ok", "plain", "protocol", "socket"};
  std::string text;
  for (const char16_t c : o.errorText) text += c < 0x80 ? static_cast<char>(c) : '?';
  *out << kKinds[static_cast<int>(o.kind)] << " number=" << o.number << " message=\"" << o.message
       << "\" errorText=\"" << text << "\" body=" << o.body.size() << " bytes \""
       << o.body.substr(0, 80) << "\"";
}

}  // namespace nestova::testing
