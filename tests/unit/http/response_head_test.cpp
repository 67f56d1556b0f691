#include "http/response_head.h"

#include <gtest/gtest.h>

#include "http/http_errors.h"

namespace nestova::http {
namespace {

ResponseHead HeadOf(std::initializer_list<std::string_view> lines) {
  ResponseHead head;
  head.statusLine = "HTTP/1.1 200 OK";
  head.statusCode = 200;
  for (const std::string_view line : lines) AddHeaderLine(head, line);
  return head;
}

TEST(ResponseHead, StatusCodeIsTheSecondWord) {
  const std::pair<std::string_view, int> cases[] = {
      {"HTTP/1.1 200 OK", 200},
      {"HTTP/1.0 404 File not found", 404},
      {"HTTP/1.1 204", 204},
      {"HTTP/1.1  301  Moved", 301},
      {"HTTP/1.1 OK", -1},
      {"HTTP/1.1 2OO OK", -1},
      {"HTTP/1.1 200OK", -1},
      {"HTTP/1.1", -1},
      {"", -1},
      {"HTTP/1.1 99999999999 Big", -1},
  };
  for (const auto& [line, code] : cases) EXPECT_EQ(StatusCode(line), code) << line;
}

TEST(ResponseHead, LookupIgnoresCaseTakesTheFirstAndTrims) {
  const ResponseHead head = HeadOf({"content-LENGTH:   5  ", "Location: /a", "LOCATION: /b",
                                    "X-Empty:", "NoColon", "Folded: one", " two", "\tthree "});
  EXPECT_EQ(head.Header("Content-Length"), "5");
  EXPECT_EQ(head.Header("location"), "/a");
  EXPECT_EQ(head.Header("X-Empty"), "");
  EXPECT_EQ(head.Header("Folded"), "one two three");
  EXPECT_EQ(head.Header("NoColon"), std::nullopt);
  EXPECT_EQ(head.Header("Missing"), std::nullopt);
  EXPECT_EQ(head.Header("Content"), std::nullopt);
}

struct FramingCase {
  const char* name;
  std::vector<std::string_view> lines;
  bool chunked;
  int64_t contentLength;
};

const FramingCase kFramings[] = {
    {"nothing", {}, false, -1},
    {"length", {"Content-Length: 5"}, false, 5},
    {"zero", {"Content-Length: 0"}, false, 0},
    {"not a number", {"Content-Length: five"}, false, -1},
    {"negative", {"Content-Length: -5"}, false, -1},
    {"signed 64-bit largest", {"Content-Length: 9223372036854775807"}, false, 9223372036854775807},
    {"beyond signed 64-bit", {"Content-Length: 9223372036854775808"}, false, -1},
    {"overflowing", {"Content-Length: 99999999999999999999999"}, false, -1},
    {"same twice", {"Content-Length: 5", "content-length: 5"}, false, 5},
    {"same as a list", {"Content-Length: 5, 5"}, false, 5},
    {"leading zeros are the same number", {"Content-Length: 5", "Content-Length: 005"}, false, 5},
    {"chunked", {"Transfer-Encoding: chunked"}, true, -1},
    {"chunked in capitals", {"TRANSFER-ENCODING: CHUNKED"}, true, -1},
    {"chunked after another coding", {"Transfer-Encoding: gzip, chunked"}, true, -1},
    {"chunked on a continuation line", {"Transfer-Encoding: gzip,", " chunked"}, true, -1},
    {"chunked wins over a length", {"Content-Length: 5", "Transfer-Encoding: chunked"}, true, 5},
    {"only the first Transfer-Encoding counts",
     {"Transfer-Encoding: identity", "Transfer-Encoding: chunked"},
     false,
     -1},
};

TEST(ResponseHead, Framing) {
  for (const FramingCase& c : kFramings) {
    ResponseHead head;
    for (const std::string_view line : c.lines) AddHeaderLine(head, line);
    const BodyFraming framing = FramingOf(head);
    EXPECT_EQ(framing.chunked, c.chunked) << c.name;
    EXPECT_EQ(framing.contentLength, c.contentLength) << c.name;
  }
}

TEST(ResponseHead, DifferingLengthsAreRefused) {
  const std::vector<std::vector<std::string_view>> cases = {
      {"Content-Length: 5", "Content-Length: 6"},
      {"Content-Length: 5, 6"},
      {"Content-Length: 5", "Content-Length: five"},
      {"Content-Length: 5,"},
  };
  for (const auto& lines : cases) {
    ResponseHead head;
    for (const std::string_view line : lines) AddHeaderLine(head, line);
    try {
      FramingOf(head);
      ADD_FAILURE() << lines[0] << ": no failure";
    } catch (const HttpError& e) {
      EXPECT_STREQ(e.what(), "Conflicting Content-Length values.");
    }
  }
}

TEST(ResponseHead, Charset) {
  EXPECT_EQ(CharsetOf(HeadOf({"Content-Type: text/html; charset=UTF-8"})), "utf-8");
  EXPECT_EQ(CharsetOf(HeadOf({"content-type: text/html;Charset=\"windows-1251\"; x=y"})),
            "windows-1251");
  EXPECT_EQ(CharsetOf(HeadOf({"Content-Type: text/html; format=flowed; charset = koi8-r"})),
            "koi8-r");
  EXPECT_EQ(CharsetOf(HeadOf({"Content-Type: text/html"})), "");
  EXPECT_EQ(CharsetOf(HeadOf({})), "");
}

}  // namespace
}  // namespace nestova::http
