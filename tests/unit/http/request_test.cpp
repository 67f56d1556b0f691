#include "http/request.h"

#include <gtest/gtest.h>

#include "http/http_errors.h"

namespace nestova::http {
namespace {

std::string Head(std::string_view requestUri, std::string_view host) {
  return "GET " + std::string(requestUri) + " HTTP/1.1\r\nHost: " + std::string(host) +
         "\r\nAccept: text/html, */*\r\nAccept-Encoding: identity\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n\r\n";
}

TEST(Request, HeadOfTheUpdateUrlByteForByte) {
  const PreparedRequest request = PrepareRequest("http://update.example.com/dataversion/nsv.txt");
  EXPECT_EQ(request.head,
            "GET /dataversion/nsv.txt HTTP/1.1\r\n"
            "Host: update.example.com\r\n"
            "Accept: text/html, */*\r\n"
            "Accept-Encoding: identity\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n"
            "\r\n");
  EXPECT_EQ(request.target, (ConnectTarget{"update.example.com", false, 4, 80}));
}

struct RequestCase {
  std::string_view url;
  std::string_view requestUri;
  std::string_view host;
  ConnectTarget target;
};

const RequestCase kRequests[] = {
    {"http://h.example/x", "/x", "h.example", {"h.example", false, 4, 80}},
    {"http://h.example:8080/x", "/x", "h.example:8080", {"h.example", false, 4, 8080}},
    {"http://h.example:80/x", "/x", "h.example", {"h.example", false, 4, 80}},
    {"http://h.example:080/x", "/x", "h.example:080", {"h.example", false, 4, 80}},
    // A port that is no number is sent as written and connects to 80.
    {"http://h.example:abc/x", "/x", "h.example:abc", {"h.example", false, 4, 80}},
    {"ftp://h.example:21/x", "/x", "h.example:21", {"h.example", false, 4, 21}},
    {"https-like://h.example:8443/", "/", "h.example:8443", {"h.example", false, 4, 8443}},
    {"http://h.example/a/b?q=1", "/a/b?q=1", "h.example", {"h.example", false, 4, 80}},
    {"http://h.example/a?", "/a", "h.example", {"h.example", false, 4, 80}},
    {"http://h.example/a#frag", "/a", "h.example", {"h.example", false, 4, 80}},
    {"http://h.example/%20x", "/%20x", "h.example", {"h.example", false, 4, 80}},
    {"http://u:p@h.example/x", "/x", "h.example", {"h.example", false, 4, 80}},
    {"http:\\\\h.example\\d\\f", "/d/f", "h.example", {"h.example", false, 4, 80}},
    {"HTTP://h.example/x", "/x", "h.example", {"h.example", false, 4, 80}},
    {"/relative/x", "/relative/x", "", {"", false, 4, 80}},
    // LOCALHOST in any case is 127.0.0.1 without the resolver.
    {"http://LOCALHOST:81/x", "/x", "LOCALHOST:81", {"127.0.0.1", true, 4, 81}},
    {"http://localhost/x", "/x", "localhost", {"127.0.0.1", true, 4, 80}},
    {"http://LocalHost/x", "/x", "LocalHost", {"127.0.0.1", true, 4, 80}},
    {"http://localhost.example/x", "/x", "localhost.example", {"localhost.example", false, 4, 80}},
    {"http://10.0.0.1/x", "/x", "10.0.0.1", {"10.0.0.1", true, 4, 80}},
    {"http://010.000.0.255/x", "/x", "010.000.0.255", {"10.0.0.255", true, 4, 80}},
    {"http://10.0.0.256/x", "/x", "10.0.0.256", {"10.0.0.256", false, 4, 80}},
    {"http://10.0.0/x", "/x", "10.0.0", {"10.0.0", false, 4, 80}},
    {"http://1.2.3.4.5/x", "/x", "1.2.3.4.5", {"1.2.3.4.5", false, 4, 80}},
    {"http://[::1]:8080/x", "/x", "[::1]:8080", {"::1", true, 6, 8080}},
    {"http://[v6name]/x", "/x", "[v6name]", {"v6name", false, 6, 80}},
    {"http://h.example:65535/", "/", "h.example:65535", {"h.example", false, 4, 65535}},
    {"http://h.example:0/", "/", "h.example:0", {"h.example", false, 4, 0}},
};

TEST(Request, HostHeaderRequestLineAndTarget) {
  for (const RequestCase& c : kRequests) {
    const PreparedRequest request = PrepareRequest(c.url);
    EXPECT_EQ(request.head, Head(c.requestUri, c.host)) << c.url;
    EXPECT_EQ(request.target, c.target) << c.url;
  }
}

struct FailureCase {
  std::string_view url;
  std::string_view message;
};

const FailureCase kFailures[] = {
    {"https://h.example/x", "IOHandler value is not valid"},
    {"HTTPS://h.example:8443/x", "IOHandler value is not valid"},
    {"ftp://h.example/x", "Unknown Protocol"},
    {"mailto://h.example", "Unknown Protocol"},
    {"http://h.example:65536/", "Port out of range."},
    {"http://h.example:-1/", "Port out of range."},
    // Nothing is percent-encoded, so these could not be sent as they are.
    {"http://h.example/a b", "URL holds characters a request line cannot carry."},
    {"http://h.example/a\r\nX-Injected: 1", "URL holds characters a request line cannot carry."},
    {"http://h.example/\x7f", "URL holds characters a request line cannot carry."},
    {"http://h.example/\xc3\xa4", "URL holds characters a request line cannot carry."},
    {std::string_view("http://h.example/\0x", 19),
     "URL holds characters a request line cannot carry."},
};

TEST(Request, Failures) {
  for (const FailureCase& c : kFailures) {
    try {
      PrepareRequest(c.url);
      ADD_FAILURE() << c.url << ": no failure";
    } catch (const HttpError& e) {
      EXPECT_EQ(e.what(), c.message) << c.url;
    }
  }
}

}  // namespace
}  // namespace nestova::http
