#pragma once
// A URL taken apart the way the HTTP client reads it. Nothing is decoded or
// checked here; the client decides what it can use.
#include <string>
#include <string_view>

namespace nestova::http {

struct Url {
  std::string scheme;
  std::string user;
  std::string password;
  std::string host;
  std::string port;  // as written; empty when the URL names none
  std::string path;  // always begins and ends with "/"
  std::string document;
  std::string query;
  std::string fragment;
  int ipVersion = 4;  // 6 for a bracketed host

  bool operator==(const Url&) const = default;
};

Url ParseUrl(std::string_view text);

}  // namespace nestova::http
