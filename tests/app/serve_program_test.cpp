// The translator serving its page, as a separate process on a copy of the
// data root: slow clients, the stop signal and a second server on its port.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app_test_support.h"
#include "socket_client.h"

extern char** environ;

namespace app_test {
namespace {

using namespace std::chrono_literals;

// `translator --serve --port 0` on the data root, its address read from the
// first line of its output; killed if a test leaves it running.
class ServerProcess {
 public:
  explicit ServerProcess(const std::string& dataRoot) {
    int pipe[2];
    if (::pipe(pipe) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe[0]);
    const std::vector<std::string> arguments = {
        LFG_TRANSLATOR_PROGRAM, "--data-root", dataRoot, "--serve", "--port", "0"};
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipe[1]);
    output_ = pipe[0];
    port_ = ReadPort();
  }
  ~ServerProcess() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
  }

  int port() const { return port_; }
  pid_t pid() const { return pid_; }

  // The exit status once the process has ended within the time; -1 otherwise.
  int WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

 private:
  // The port of "http://127.0.0.1:PORT/", the first line of output; set-up
  // under the sanitizers may take a while.
  int ReadPort() {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + 120s;
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd entry{output_, POLLIN, 0};
      if (poll(&entry, 1, 1000) <= 0) continue;
      char byte;
      if (read(output_, &byte, 1) != 1) break;
      line += byte;
    }
    const size_t colon = line.rfind(':');
    return colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
  }

  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
  bool ended_ = false;
};

TEST(ServedPage, AnswersPastEightSlowClientsAndStopsOnSigterm) {
  DataRootCopy root;
  ServerProcess server(root.path().string());
  ASSERT_GT(server.port(), 0);
  const auto slow = OpenSlowClients(server.port());
  const TimedResponse timed = TranslateWithin2s(server.port(), "I gave him a book");
  EXPECT_TRUE(timed.inTime);
  EXPECT_EQ(StatusOf(timed.response), 200) << timed.response;
  EXPECT_NE(BodyOf(timed.response).find("\"output\":\"میں نے اسے ایک کتاب دی۔\""), std::string::npos) << timed.response;

  // The slow clients are still connected and still sending when the stop comes.
  for (const auto& slowClient : slow) ASSERT_TRUE(slowClient->Send("."));
  ASSERT_EQ(kill(server.pid(), SIGTERM), 0);
  EXPECT_EQ(server.WaitForExit(2s), 0);
}

TEST(ServedPage, ASecondServerOnTheSamePortIsRefusedNamingThePort) {
  DataRootCopy root;
  ServerProcess first(root.path().string());
  ASSERT_GT(first.port(), 0);
  const std::string port = std::to_string(first.port());
  // The same data root: the port is refused before the root's lock is waited for.
  const ProgramRun second =
      RunTranslatorProgram({"--data-root", root.path().string(), "--serve", "--port", port}, "", 60);
  EXPECT_EQ(second.exitCode, 4) << second.errors;
  EXPECT_NE(second.errors.find("port " + port + " is in use"), std::string::npos) << second.errors;
  EXPECT_EQ(second.output, "");
  // The first still serves.
  SocketClient client(first.port());
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: 127.0.0.1:" + port + "\r\n\r\n"));
  EXPECT_EQ(StatusOf(client.ReadUntilClosed(5s)), 200);
}

}  // namespace
}  // namespace app_test
