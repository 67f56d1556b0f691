#pragma once
// Python's own web server on 127.0.0.1, serving one folder, for as long as
// the object lives.
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace nestova::testing {

class PythonHttpServer {
 public:
  // Starts `python -m http.server` on a port of the system's choice and
  // waits (bounded) until it says which. Throws when it does not start.
  PythonHttpServer(const std::string& python, const std::string& folder);
  ~PythonHttpServer();
  PythonHttpServer(const PythonHttpServer&) = delete;
  PythonHttpServer& operator=(const PythonHttpServer&) = delete;

  uint16_t Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  uint16_t port_ = 0;
};

}  // namespace nestova::testing
