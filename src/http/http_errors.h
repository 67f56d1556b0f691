#pragma once
// The failures of an HTTP exchange. A plain failure is an HttpError itself;
// the two kinds that carry more are derived from it, so one catch takes all.
#include <stdexcept>
#include <string>
#include <string_view>

namespace nestova::http {

class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A response status that ends the exchange. The message is the whole status
// line; the error text is the response body as text.
class HttpProtocolError : public HttpError {
 public:
  HttpProtocolError(int code, const std::string& statusLine, std::u16string errorText)
      : HttpError(statusLine), code_(code), errorText_(std::move(errorText)) {}

  int Code() const { return code_; }
  const std::u16string& ErrorText() const { return errorText_; }

 private:
  int code_;
  std::u16string errorText_;
};

// A failed socket operation, numbered as Windows Sockets numbers its errors.
// The message is "Socket Error # <number>" CR LF and the error's text.
class SocketError : public HttpError {
 public:
  explicit SocketError(int number);

  int Number() const { return number_; }

 private:
  int number_;
};

// One short English text per Windows Sockets error number.
std::string_view SocketErrorText(int number);

}  // namespace nestova::http
