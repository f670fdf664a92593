#include "app/server/page_server.h"

#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <ostream>
#include <string>
#include <thread>

#include "app/engine/translator_dlg.h"
#include "app/server/page_request_handler.h"

namespace {

constexpr const char* kLoopback = "127.0.0.1";

// SIGINT and SIGTERM blocked in the calling thread and in every thread it
// starts while the object lives, so that only WaitForStopSignal takes them.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  }
  ~StopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits until a stop signal comes (true) or the flag is set (false).
  bool WaitForStopSignal(const std::atomic<bool>& ended) const {
    const timespec step{0, 200'000'000};
    while (!ended.load()) {
      if (sigtimedwait(&signals_, nullptr, &step) > 0) return true;
    }
    return false;
  }

 private:
  sigset_t signals_{};
  sigset_t previous_{};
};

}  // namespace

CPageRequest ToPageRequest(const httplib::Request& request) {
  return CPageRequest{request.method,
                      request.path,
                      request.get_header_value("Host"),
                      request.get_header_value("Origin"),
                      request.get_header_value("Content-Type"),
                      request.body};
}

namespace {

void Answer(CPageRequestHandler& handler, const httplib::Request& request, httplib::Response& response) {
  const CPageResponse answer = handler.Handle(ToPageRequest(request));
  response.status = answer.status;
  for (const auto& [name, value] : PageResponseHeaders()) response.set_header(std::string(name), std::string(value));
  response.set_content(answer.body, answer.contentType);
}

// Every method and path goes to the handler, which decides.
void RouteEverything(httplib::Server& server, CPageRequestHandler& handler) {
  const auto answer = [&handler](const httplib::Request& request, httplib::Response& response) {
    Answer(handler, request, response);
  };
  server.Get(".*", answer);
  server.Post(".*", answer);
  server.Put(".*", answer);
  server.Patch(".*", answer);
  server.Delete(".*", answer);
  server.Options(".*", answer);
}

}  // namespace

ExitCode ServeTranslatorPage(CTranslatorDlg& translator, int port, std::ostream& output, std::ostream& errors) {
  const StopSignals stopSignals;
  httplib::Server server;
  server.set_payload_max_length(kMaxTranslateRequestBytes);
  const int boundPort = port == 0 ? server.bind_to_any_port(kLoopback) : (server.bind_to_port(kLoopback, port) ? port : -1);
  if (boundPort <= 0) {
    errors << "The page cannot be served on " << kLoopback << ":" << port << " (the port is in use or not allowed)\n";
    return kExitFileError;
  }
  const std::string ownHost = std::string(kLoopback) + ":" + std::to_string(boundPort);
  CPageRequestHandler handler(ownHost, [&translator](const WString& sentence, const CTranslateOptions& options) {
    return translator.OnTranslate(sentence, options);
  });
  RouteEverything(server, handler);

  output << "http://" << ownHost << "/" << std::endl;
  std::atomic<bool> listenEnded{false};
  bool listened = true;
  std::thread listener([&] {
    listened = server.listen_after_bind();
    listenEnded = true;
  });
  const bool stopped = stopSignals.WaitForStopSignal(listenEnded);
  server.stop();
  listener.join();
  if (!stopped || !listened) {
    errors << "The page server stopped unexpectedly\n";
    return kExitFileError;
  }
  return kExitTranslated;
}
