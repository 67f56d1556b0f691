#include "http/web_url.h"

namespace nestova::http {
namespace {

bool IsBlankOrControl(char16_t c) {
  return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x00AD || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200F) ||  // blanks, zero widths, direction marks
         (c >= 0x2028 && c <= 0x202F) ||  // separators, embeddings and overrides
         (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

bool HasBrokenSurrogate(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (size_t i = 0; i < lowerPrefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

bool IsDigits(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// The host of an authority "[user[:password]@]host[:port]" is not empty;
// a port, when there is one, is digits only.
bool HasHost(std::u16string_view authority) {
  const size_t at = authority.rfind(u'@');
  if (at != std::u16string_view::npos) authority.remove_prefix(at + 1);
  std::u16string_view host = authority;
  std::u16string_view port;
  if (!authority.empty() && authority.front() == u'[') {
    const size_t close = authority.find(u']');
    if (close == std::u16string_view::npos || close == 1) return false;
    host = authority.substr(0, close + 1);
    const std::u16string_view rest = authority.substr(close + 1);
    if (!rest.empty() && rest.front() != u':') return false;
    if (!rest.empty()) port = rest.substr(1);
  } else {
    const size_t colon = authority.find(u':');
    host = authority.substr(0, colon);
    if (colon != std::u16string_view::npos) port = authority.substr(colon + 1);
  }
  return !host.empty() && IsDigits(port);
}

}  // namespace

bool IsOpenableWebUrl(std::u16string_view url) {
  for (const char16_t c : url) {
    if (IsBlankOrControl(c) || c == u'\\') return false;
  }
  if (HasBrokenSurrogate(url)) return false;
  size_t schemeLength = 0;
  if (StartsWithIgnoringCase(url, u"http://")) {
    schemeLength = 7;
  } else if (StartsWithIgnoringCase(url, u"https://")) {
    schemeLength = 8;
  } else {
    return false;
  }
  const std::u16string_view rest = url.substr(schemeLength);
  return HasHost(rest.substr(0, rest.find_first_of(u"/?#")));
}

}  // namespace nestova::http
