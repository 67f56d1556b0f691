#include "support/static_web_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace nestova::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Reaps the child, killing it when it does not end on its own in time.
void Stop(pid_t pid) {
  ::kill(pid, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (Clock::now() < deadline) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nobody listens on now; the server binds it a moment later.
uint16_t FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  const bool ok = s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0;
  if (s >= 0) ::close(s);
  if (!ok) throw std::runtime_error("no free port");
  return ntohs(address.sin_port);
}

bool Accepts(uint16_t port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  sockaddr_in address = Loopback(port);
  const bool connected = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return connected;
}

}  // namespace

StaticWebServer::StaticWebServer(const std::string& busybox, const std::string& folder)
    : port_(FreePort()) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // -f: stay in the foreground, so the child is the server and can be stopped.
  std::vector<std::string> args = {
      busybox, "httpd", "-f", "-p", "127.0.0.1:" + std::to_string(port_), "-h", folder};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int spawned =
      ::posix_spawn(&pid_, busybox.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + busybox);

  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < deadline) {
    if (Accepts(port_)) return;
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      throw std::runtime_error("the web server ended at once (port " + std::to_string(port_) +
                               " taken?)");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  Stop(pid_);
  throw std::runtime_error("the web server did not start");
}

StaticWebServer::~StaticWebServer() { Stop(pid_); }

}  // namespace nestova::testing
