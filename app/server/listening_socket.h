// The page server's listening socket on 127.0.0.1, bound before anything
// else starts, so that a port held by another server (or by anything else)
// is refused at once. The socket does not share its port: a second server
// on the same port fails to bind instead of splitting the requests.
#pragma once

#include <string>

class CListeningSocket {
 public:
  CListeningSocket() = default;
  ~CListeningSocket();
  CListeningSocket(CListeningSocket&& other) noexcept;
  CListeningSocket& operator=(CListeningSocket&& other) noexcept;
  CListeningSocket(const CListeningSocket&) = delete;
  CListeningSocket& operator=(const CListeningSocket&) = delete;

  // Binds and listens on 127.0.0.1 and the port (0: any free port); false,
  // with a message naming the address and port in error, when it cannot.
  bool Open(int port, std::string& error);

  int descriptor() const { return descriptor_; }
  int port() const { return port_; }

 private:
  int descriptor_ = -1;
  int port_ = 0;
};

inline constexpr const char* kLoopbackAddress = "127.0.0.1";
