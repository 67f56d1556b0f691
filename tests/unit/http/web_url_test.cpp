#include "http/web_url.h"

#include <gtest/gtest.h>

namespace nestova::http {
namespace {

struct WebUrlCase {
  std::u16string_view url;
  bool openable;
};

const WebUrlCase kWebUrls[] = {
    {u"http://www.example.com/download", true},
    {u"HTTPS://www.example.com/", true},
    {u"Http://example.com", true},
    {u"https://example.com:8443/a?b=c#d", true},
    {u"http://user@example.com/", true},
    {u"http://[::1]/", true},
    {u"http://\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444/", true},
    {u"http://example.com/%20x", true},
    {u"http://", false},
    {u"https://", false},
    {u"http:///path", false},
    {u"http://?q", false},
    {u"http://:80/", false},
    {u"http://user@/", false},
    {u"http://example.com:80x/", false},
    {u"http://[::1/", false},
    {u"http://[]/", false},
    {u"http:example.com", false},
    {u"http:/example.com", false},
    {u"file:///C:/Windows/notepad.exe", false},
    {u"file://server/share/x.exe", false},
    {u"javascript:alert(1)", false},
    {u"javascript://example.com/%0Aalert(1)", false},
    {u"\\\\server\\share\\x.exe", false},
    {u"C:\\x.exe", false},
    {u"x.exe", false},
    {u"ftp://example.com/", false},
    {u"mailto:someone@example.com", false},
    {u"", false},
    {u" http://example.com/", false},
    {u"http://example.com/ ", false},
    {u"http://exa mple.com/", false},
    {u"http://example.com/a\tb", false},
    {u"http://example.com/\r\nx", false},
    {u"http://example.com/\u00A0", false},
    {u"http://example.com/\u3000", false},
    {u"http://example.com/\u202Eexe.txt", false},
    {u"http://example.com/\u200B", false},
    {u"http://example.com/\u0085", false},
    {u"http://example.com\\@evil.example/", false},
    {u"http:\\\\example.com\\", false},
    {std::u16string_view(u"http://example.com/\0x", 21), false},
    {std::u16string_view(u"http://example.com/\xD800", 20), false},
};

TEST(WebUrl, OnlyAbsoluteHttpAndHttpsOpen) {
  for (const WebUrlCase& c : kWebUrls) {
    std::string trace;
    for (const char16_t ch : c.url) trace += ch < 0x80 && ch >= 0x20 ? static_cast<char>(ch) : '?';
    EXPECT_EQ(IsOpenableWebUrl(c.url), c.openable) << trace;
  }
}

}  // namespace
}  // namespace nestova::http
