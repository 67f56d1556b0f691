#pragma once
// A raw HTTP server on 127.0.0.1 for exact framing cases: it reads each
// request head, records its bytes and answers with scripted bytes. Runs on
// its own thread; every wait is bounded, so a broken client fails a test
// instead of hanging it.
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nestova::testing {

struct Reply {
  // Sent in order, each with its own send.
  std::vector<std::string> pieces;
  enum class Then {
    kClose,         // close at once after the reply
    kReset,         // abort the connection (the client sees a reset)
    kWaitForClose,  // keep the connection until the client closes it
    kNextRequest,   // read the next request on the same connection
  } then = Then::kClose;
};

class ScriptedServer {
 public:
  // Connections are accepted one after another; each takes replies from the
  // script until one does not end in kNextRequest.
  explicit ScriptedServer(std::vector<Reply> script);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  uint16_t Port() const { return port_; }

  // Waits for the script to end. Then: the request heads in arrival order,
  // the connections accepted, and what went wrong on the server's side.
  void Finish();
  const std::vector<std::string>& Requests() const { return requests_; }
  int Connections() const { return connections_; }
  const std::string& Problem() const { return problem_; }
  // True when a client connected again after the script had ended.
  bool ExtraConnectionPending() const;

 private:
  void Run();
  bool ReadRequest(int fd);

  std::vector<Reply> script_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
  std::vector<std::string> requests_;
  int connections_ = 0;
  std::string problem_;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  uint16_t Port() const { return port_; }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

}  // namespace nestova::testing
