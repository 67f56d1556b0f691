#include "http/url.h"

#include <algorithm>

namespace nestova::http {
namespace {

// Cuts the text after the first `separator` off `text` and returns it;
// `text` loses the separator too.
std::string CutAfter(std::string& text, char separator) {
  const size_t at = text.find(separator);
  if (at == std::string::npos) return {};
  std::string tail = text.substr(at + 1);
  text.erase(at);
  return tail;
}

// The path is everything up to and including the last "/"; the rest stays.
std::string CutPath(std::string& rest) {
  const size_t slash = rest.rfind('/');
  if (slash == std::string::npos) return {};
  std::string path = rest.substr(0, slash + 1);
  rest.erase(0, slash + 1);
  return path;
}

std::string Rooted(std::string_view path) {
  std::string rooted;
  rooted.reserve(path.size() + 1);
  rooted += '/';
  rooted += path;
  return rooted;
}

void SplitAuthority(std::string authority, Url& url) {
  const size_t at = authority.find('@');
  if (at != std::string::npos) {
    std::string credentials = authority.substr(0, at);
    authority.erase(0, at + 1);
    const size_t colon = credentials.find(':');
    url.user = credentials.substr(0, colon);
    if (colon != std::string::npos && !url.user.empty())
      url.password = credentials.substr(colon + 1);
  }
  const size_t open = authority.find('[');
  const size_t close = authority.find(']');
  if (open != std::string::npos && close != std::string::npos && open < close) {
    url.ipVersion = 6;
    url.host = authority.substr(open + 1, close - open - 1);
    const size_t colon = authority.find(':', close + 1);
    if (colon != std::string::npos) url.port = authority.substr(colon + 1);
    return;
  }
  const size_t colon = authority.find(':');
  url.host = authority.substr(0, colon);
  if (colon != std::string::npos) url.port = authority.substr(colon + 1);
}

}  // namespace

Url ParseUrl(std::string_view text) {
  Url url;
  std::string rest(text);
  std::replace(rest.begin(), rest.end(), '\\', '/');

  const size_t schemeEnd = rest.find("://");
  if (schemeEnd != std::string::npos) {
    url.scheme = rest.substr(0, schemeEnd);
    rest.erase(0, schemeEnd + 3);
    url.query = CutAfter(rest, '?');
    const size_t slash = rest.find('/');
    SplitAuthority(rest.substr(0, slash), url);
    rest.erase(0, slash == std::string::npos ? rest.size() : slash + 1);
    url.path = Rooted(CutPath(rest));
  } else {
    url.query = CutAfter(rest, '?');
    // A relative URL still yields a path that begins and ends with "/".
    url.path = CutPath(rest);
    if (url.path.empty() || url.path.front() != '/') url.path = Rooted(url.path);
  }
  url.fragment = CutAfter(rest, '#');
  url.document = std::move(rest);
  return url;
}

}  // namespace nestova::http
