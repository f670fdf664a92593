#include "app/server/listening_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr int kBacklog = 64;

}  // namespace

CListeningSocket::~CListeningSocket() {
  if (descriptor_ >= 0) close(descriptor_);
}

CListeningSocket::CListeningSocket(CListeningSocket&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), port_(other.port_) {}

CListeningSocket& CListeningSocket::operator=(CListeningSocket&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    port_ = other.port_;
  }
  return *this;
}

bool CListeningSocket::Open(int port, std::string& error) {
  const std::string address = std::string(kLoopbackAddress) + ":" + std::to_string(port);
  const int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (descriptor < 0) {
    error = "The page cannot be served on " + address + ": " + std::strerror(errno);
    return false;
  }
  // SO_REUSEADDR lets a restarted server bind past connections still in
  // TIME_WAIT; on Linux it never lets two listeners share the port (that
  // would take SO_REUSEPORT, which is left off on purpose).
  const int yes = 1;
  setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, kLoopbackAddress, &socketAddress.sin_addr);
  if (bind(descriptor, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) != 0 ||
      listen(descriptor, kBacklog) != 0) {
    const int reason = errno;
    close(descriptor);
    error = "The page cannot be served on " + address + ": " +
            (reason == EADDRINUSE ? std::string("port ") + std::to_string(port) + " is in use" : std::strerror(reason));
    return false;
  }
  socklen_t length = sizeof socketAddress;
  getsockname(descriptor, reinterpret_cast<sockaddr*>(&socketAddress), &length);
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = descriptor;
  port_ = ntohs(socketAddress.sin_port);
  return true;
}
