#include "http/request.h"

#include <optional>

#include "http/ascii.h"
#include "http/http_errors.h"
#include "http/integer_text.h"

namespace nestova::http {
namespace {

// Nothing is percent-encoded, so a URL with blanks, control characters or
// bytes beyond ASCII could break the request line or add header lines.
bool FitsRequestLine(std::string_view url) {
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7f) return false;
  }
  return true;
}

// Four decimal numbers from 0 to 255 joined by dots, written the usual way.
std::optional<std::string> DottedQuad(std::string_view host) {
  std::string result;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (host.empty() || host.front() != '.') return std::nullopt;
      host.remove_prefix(1);
      result += '.';
    }
    size_t digits = 0;
    while (digits < host.size() && host[digits] >= '0' && host[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3) return std::nullopt;
    const std::optional<uint64_t> value = ParseDecimalSize(host.substr(0, digits));
    if (!value || *value > 255) return std::nullopt;
    result += std::to_string(*value);
    host.remove_prefix(digits);
  }
  if (!host.empty()) return std::nullopt;
  return result;
}

ConnectTarget TargetFor(const Url& url, uint16_t port) {
  ConnectTarget target;
  target.port = port;
  target.ipVersion = url.ipVersion;
  if (url.ipVersion == 6) {
    // Every IPv6 literal holds a colon and no host name does.
    target.host = url.host;
    target.literal = url.host.find(':') != std::string::npos;
  } else if (EqualsIgnoringCase(url.host, "localhost")) {
    target.host = "127.0.0.1";
    target.literal = true;
  } else if (std::optional<std::string> quad = DottedQuad(url.host)) {
    target.host = std::move(*quad);
    target.literal = true;
  } else {
    target.host = url.host;
  }
  return target;
}

}  // namespace

std::string HostHeaderValue(const Url& url, std::string_view port) {
  std::string value = url.ipVersion == 6 ? "[" + url.host + "]" : url.host;
  if (port != "80") {
    value += ':';
    value += port;
  }
  return value;
}

PreparedRequest PrepareRequest(std::string_view text) {
  if (!FitsRequestLine(text)) throw HttpError("URL holds characters a request line cannot carry.");
  const Url url = ParseUrl(text);

  std::string requestUri = url.path + url.document;
  // A fragment is never sent, also when it follows a query.
  const std::string query = url.query.substr(0, url.query.find('#'));
  if (!query.empty()) requestUri += "?" + query;

  const std::string scheme = url.scheme.empty() ? "http" : url.scheme;
  std::string port = url.port;
  if (port.empty()) {
    if (EqualsIgnoringCase(scheme, "http")) {
      port = "80";
    } else if (EqualsIgnoringCase(scheme, "https")) {
      port = "443";
    } else {
      throw HttpError("Unknown Protocol");
    }
  }
  const std::string host = HostHeaderValue(url, port);
  if (EqualsIgnoringCase(scheme, "https")) throw HttpError("IOHandler value is not valid");

  const int32_t portNumber = ParseInteger(port).value_or(80);
  if (portNumber < 0 || portNumber > 65535) throw HttpError("Port out of range.");

  PreparedRequest request;
  request.head = "GET " + requestUri + " HTTP/1.1\r\n" + "Host: " + host + "\r\n" +
                 "Accept: text/html, */*\r\n" + "Accept-Encoding: identity\r\n" +
                 "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n" + "\r\n";
  request.target = TargetFor(url, static_cast<uint16_t>(portNumber));
  return request;
}

}  // namespace nestova::http
