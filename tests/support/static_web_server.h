#pragma once
// Debian's busybox web server on 127.0.0.1, serving one folder, for as long
// as the object lives.
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace nestova::testing {

class StaticWebServer {
 public:
  // Starts `busybox httpd` on a free port and waits (bounded) until it
  // takes connections. Throws when it does not start.
  StaticWebServer(const std::string& busybox, const std::string& folder);
  ~StaticWebServer();
  StaticWebServer(const StaticWebServer&) = delete;
  StaticWebServer& operator=(const StaticWebServer&) = delete;

  uint16_t Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  uint16_t port_ = 0;
};

}  // namespace nestova::testing
