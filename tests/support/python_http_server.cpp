#include "support/python_http_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
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

}  // namespace

PythonHttpServer::PythonHttpServer(const std::string& python, const std::string& folder) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {python,   "-u",        "-m",          "http.server", "0",
                                   "--bind", "127.0.0.1", "--directory", folder};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const int spawned = ::posix_spawn(&pid_, python.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  output_ = pipeFds[0];
  if (spawned != 0) {
    ::close(output_);
    throw std::runtime_error("cannot start " + python);
  }

  // "Serving HTTP on 127.0.0.1 port 41234 (http://127.0.0.1:41234/) ..."
  const std::regex announced(R"(port (\d+))");
  std::string said;
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Clock::now() < deadline) {
    std::smatch match;
    if (std::regex_search(said, match, announced) && said.find('\n') != std::string::npos) {
      port_ = static_cast<uint16_t>(std::stoi(match[1]));
      return;
    }
    pollfd p{output_, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char block[256];
    const ssize_t got = ::read(output_, block, sizeof block);
    if (got <= 0) break;
    said.append(block, static_cast<size_t>(got));
  }
  Stop(pid_);
  ::close(output_);
  throw std::runtime_error("the web server did not start: " + said);
}

PythonHttpServer::~PythonHttpServer() {
  Stop(pid_);
  ::close(output_);
}

}  // namespace nestova::testing
