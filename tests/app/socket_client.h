// A plain TCP client for the page server's tests, on 127.0.0.1 only, with
// every wait bounded.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app_test {

class SocketClient {
 public:
  explicit SocketClient(int port);
  ~SocketClient();
  SocketClient(const SocketClient&) = delete;
  SocketClient& operator=(const SocketClient&) = delete;

  bool connected() const { return socket_ >= 0; }
  // False when the bytes could not all be sent within a few seconds.
  bool Send(std::string_view bytes);
  // What arrives until the server closes the connection or the time passes.
  std::string ReadUntilClosed(std::chrono::milliseconds limit);
  // True when the server has closed the connection (or reset it) within the time.
  bool ClosedWithin(std::chrono::milliseconds limit);

 private:
  int socket_ = -1;
};

// The status of a response's first line; 0 when there is none.
int StatusOf(const std::string& response);
// The body of a response: what follows its empty line.
std::string BodyOf(const std::string& response);

// A translation request for the sentence, addressed to the port.
std::string TranslateRequest(int port, const std::string& sentence);

// Eight clients that have sent the start of a request and then nothing.
std::vector<std::unique_ptr<SocketClient>> OpenSlowClients(int port);

// The response to a translation of the sentence sent while other clients
// hang: what came back within two seconds, and whether it came in time.
struct TimedResponse {
  std::string response;
  bool inTime = false;
};
TimedResponse TranslateWithin2s(int port, const std::string& sentence);

}  // namespace app_test
