#pragma once
// From a URL to what goes on the wire: the request head of a GET and the
// address to connect to.
#include <string>
#include <string_view>

#include "http/socket.h"
#include "http/url.h"

namespace nestova::http {

struct PreparedRequest {
  std::string head;  // request line, four headers and the empty line, CR LF each
  ConnectTarget target;
};

// Throws HttpError: "Unknown Protocol" for a URL with neither a port nor the
// scheme http or https, "IOHandler value is not valid" for https (there is no
// secure transport), and a failure for a URL that cannot go into a request
// line or a port outside 0 to 65535.
PreparedRequest PrepareRequest(std::string_view url);

// The Host header's value: the host, and ":" with the port unless it is "80".
std::string HostHeaderValue(const Url& url, std::string_view port);

}  // namespace nestova::http
