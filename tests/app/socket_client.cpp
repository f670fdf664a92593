#include "socket_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace app_test {

SocketClient::SocketClient(int port) {
  socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0) return;
  const timeval sendLimit{5, 0};
  setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(socket_);
    socket_ = -1;
  }
}

SocketClient::~SocketClient() {
  if (socket_ >= 0) close(socket_);
}

bool SocketClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

std::string SocketClient::ReadUntilClosed(std::chrono::milliseconds limit) {
  std::string received;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return received;
    pollfd entry{socket_, POLLIN, 0};
    if (poll(&entry, 1, static_cast<int>(left.count())) <= 0) return received;
    char buffer[4096];
    const ssize_t count = recv(socket_, buffer, sizeof buffer, 0);
    if (count <= 0) return received;
    received.append(buffer, static_cast<size_t>(count));
  }
}

bool SocketClient::ClosedWithin(std::chrono::milliseconds limit) {
  pollfd entry{socket_, POLLIN, 0};
  if (poll(&entry, 1, static_cast<int>(limit.count())) <= 0) return false;
  char byte;
  return recv(socket_, &byte, 1, MSG_PEEK) <= 0;
}

int StatusOf(const std::string& response) {
  if (response.rfind("HTTP/1.1 ", 0) != 0 || response.size() < 12) return 0;
  return std::stoi(response.substr(9, 3));
}

std::string BodyOf(const std::string& response) {
  const size_t end = response.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : response.substr(end + 4);
}

std::string TranslateRequest(int port, const std::string& sentence) {
  const std::string body = "{\"sentence\": \"" + sentence + "\"}";
  return "POST /translate HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::vector<std::unique_ptr<SocketClient>> OpenSlowClients(int port) {
  std::vector<std::unique_ptr<SocketClient>> slow;
  for (int i = 0; i < 8; ++i) {
    slow.push_back(std::make_unique<SocketClient>(port));
    slow.back()->Send("POST /translate HTTP/1.1\r\nHost: 127.0");
  }
  return slow;
}

TimedResponse TranslateWithin2s(int port, const std::string& sentence) {
  using namespace std::chrono_literals;
  const auto start = std::chrono::steady_clock::now();
  SocketClient client(port);
  if (!client.Send(TranslateRequest(port, sentence))) return {};
  TimedResponse timed;
  timed.response = client.ReadUntilClosed(2s);
  timed.inTime = std::chrono::steady_clock::now() - start < 2s;
  return timed;
}

}  // namespace app_test
