#pragma once
// The head of a response: status line, header lines and what the body's
// framing needs from them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http/response_reader.h"

namespace nestova::http {

struct ResponseHead {
  std::string statusLine;
  int statusCode = -1;  // -1 when the second word is no number
  // In order; a continuation line is already joined to its header with one
  // blank.
  std::vector<std::string> headerLines;

  // The value of the first header with this name (case ignored), without
  // blanks at both ends; nullopt when there is none.
  std::optional<std::string> Header(std::string_view name) const;
};

// The second blank-separated word of the status line as an integer, or -1.
int StatusCode(std::string_view statusLine);

// Takes header lines into the head, joining continuation lines.
void AddHeaderLine(ResponseHead& head, std::string_view line);

// Reads one head. `headBytes` counts the bytes of every head of the
// exchange and is checked against kMaxHeadBytes. Throws "Connection Closed
// Gracefully." when the peer closes before the empty line that ends the head.
ResponseHead ReadResponseHead(ResponseReader& reader, uint64_t& headBytes);

struct BodyFraming {
  bool chunked = false;
  int64_t contentLength = -1;  // -1 when missing or not a number
};

// Throws a failure for Content-Length values that disagree.
BodyFraming FramingOf(const ResponseHead& head);

// The charset parameter of Content-Type, lower case; empty when there is none.
std::string CharsetOf(const ResponseHead& head);

}  // namespace nestova::http
