#include "http/response_head.h"

#include <limits>

#include "http/ascii.h"
#include "http/http_errors.h"
#include "http/http_limits.h"
#include "http/integer_text.h"

namespace nestova::http {
namespace {

// Each element of a comma list, without blanks at both ends.
std::vector<std::string_view> ListElements(std::string_view value) {
  std::vector<std::string_view> elements;
  for (;;) {
    const size_t comma = value.find(',');
    elements.push_back(TrimBlanks(value.substr(0, comma)));
    if (comma == std::string_view::npos) return elements;
    value.remove_prefix(comma + 1);
  }
}

}  // namespace

std::optional<std::string> ResponseHead::Header(std::string_view name) const {
  for (const std::string& line : headerLines) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos &&
        EqualsIgnoringCase(std::string_view(line).substr(0, colon), name)) {
      return std::string(TrimBlanks(std::string_view(line).substr(colon + 1)));
    }
  }
  return std::nullopt;
}

int StatusCode(std::string_view statusLine) {
  // Words are runs of non-blanks; the code is the second.
  const size_t firstStart = statusLine.find_first_not_of(' ');
  const size_t firstEnd = statusLine.find(' ', firstStart);
  const size_t start = statusLine.find_first_not_of(' ', firstEnd);
  if (start == std::string_view::npos) return -1;
  const size_t end = statusLine.find(' ', start);
  return ParseInteger(statusLine.substr(start, end - start)).value_or(-1);
}

void AddHeaderLine(ResponseHead& head, std::string_view line) {
  if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && !head.headerLines.empty()) {
    std::string& previous = head.headerLines.back();
    previous += ' ';
    previous += TrimBlanks(line);
    return;
  }
  head.headerLines.emplace_back(line);
}

ResponseHead ReadResponseHead(ResponseReader& reader, uint64_t& headBytes) {
  const auto readLine = [&]() -> std::string {
    const uint64_t before = reader.Consumed();
    std::optional<std::string> line = reader.ReadLine();
    if (!line) throw HttpError("Connection Closed Gracefully.");
    headBytes += reader.Consumed() - before;
    if (headBytes > kMaxHeadBytes) throw HttpError("Response head too large.");
    return std::move(*line);
  };

  ResponseHead head;
  head.statusLine = readLine();
  head.statusCode = StatusCode(head.statusLine);
  size_t lines = 0;
  for (;;) {
    const std::string line = readLine();
    if (line.empty()) return head;
    if (++lines > kMaxHeaderLines) throw HttpError("Too many header lines in the response.");
    AddHeaderLine(head, line);
  }
}

BodyFraming FramingOf(const ResponseHead& head) {
  BodyFraming framing;
  if (const std::optional<std::string> coding = head.Header("Transfer-Encoding")) {
    framing.chunked = AsciiLower(*coding).find("chunked") != std::string::npos;
  }
  // Every Content-Length value, repeated headers and list elements alike,
  // must say the same: a body of two lengths has no length. A length beyond
  // the signed 64-bit range counts as no number.
  bool seen = false;
  std::optional<uint64_t> length;
  for (const std::string& line : head.headerLines) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos ||
        !EqualsIgnoringCase(std::string_view(line).substr(0, colon), "Content-Length")) {
      continue;
    }
    for (const std::string_view element : ListElements(std::string_view(line).substr(colon + 1))) {
      std::optional<uint64_t> value = ParseDecimalSize(element);
      if (value && *value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        value.reset();
      }
      if (seen && value != length) throw HttpError("Conflicting Content-Length values.");
      seen = true;
      length = value;
    }
  }
  if (length) framing.contentLength = static_cast<int64_t>(*length);
  return framing;
}

std::string CharsetOf(const ResponseHead& head) {
  const std::optional<std::string> type = head.Header("Content-Type");
  if (!type) return {};
  std::string_view rest = *type;
  for (;;) {
    const size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) return {};
    rest.remove_prefix(semicolon + 1);
    const std::string_view parameter = TrimBlanks(rest.substr(0, rest.find(';')));
    const size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        EqualsIgnoringCase(TrimBlanks(parameter.substr(0, equals)), "charset")) {
      std::string_view value = TrimBlanks(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
      }
      return AsciiLower(value);
    }
  }
}

}  // namespace nestova::http
