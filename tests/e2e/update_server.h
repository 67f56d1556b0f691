#pragma once
// The update server for end-to-end tests: listens on 127.0.0.1 at a fixed
// port (the one the test build of Nestova.exe asks), reads each request
// head and answers it with a fixed response, or says nothing at all and
// keeps the connection open until the server goes.
#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/socket_handle.h"

namespace e2e {

class UpdateServer {
 public:
  // An empty `response` stalls every connection.
  UpdateServer(uint16_t port, std::string response);
  ~UpdateServer();
  UpdateServer(const UpdateServer&) = delete;
  UpdateServer& operator=(const UpdateServer&) = delete;

  bool Listening() const { return static_cast<bool>(listener_); }
  // Complete request heads received so far.
  int Requests() const { return requests_; }
  // The last request head, exactly as received.
  std::string LastRequest() const;

 private:
  void Run();

  std::string response_;
  nestova::platform::UniqueSocket listener_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> requests_{0};
  mutable std::mutex lastLock_;
  std::string last_;
  std::thread thread_;
};

}  // namespace e2e
