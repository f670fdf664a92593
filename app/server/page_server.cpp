#include "app/server/page_server.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

#include "app/engine/translator_dlg.h"
#include "app/server/connection_loop.h"
#include "app/server/listening_socket.h"
#include "app/server/page_request_handler.h"

namespace {

// How long a stop waits for a running translation before the process ends
// without it: the whole stop stays within two seconds.
constexpr std::chrono::milliseconds kTranslationGrace{1500};

// SIGINT and SIGTERM blocked in the calling thread and in every thread it
// starts while the object lives, and readable on descriptor() instead.
class StopSignals {
 public:
  StopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
    descriptor_ = signalfd(-1, &signals_, SFD_NONBLOCK | SFD_CLOEXEC);
  }
  ~StopSignals() {
    if (descriptor_ >= 0) close(descriptor_);
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  int descriptor() const { return descriptor_; }
  // Takes the signals that came, so that none is left pending to kill the
  // process when the mask is restored.
  void Consume() const {
    signalfd_siginfo taken{};
    while (read(descriptor_, &taken, sizeof taken) == static_cast<ssize_t>(sizeof taken)) {
    }
  }

 private:
  sigset_t signals_{};
  sigset_t previous_{};
  int descriptor_ = -1;
};

}  // namespace

ExitCode ServeTranslatorPage(CTranslatorDlg& translator, const CListeningSocket& listener, std::ostream& output,
                             std::ostream& errors) {
  const StopSignals stopSignals;
  if (stopSignals.descriptor() < 0) {
    errors << "The page server cannot wait for its stop signals\n";
    return kExitFileError;
  }
  const std::string ownHost = std::string(kLoopbackAddress) + ":" + std::to_string(listener.port());
  CPageRequestHandler handler(ownHost, [&translator](const WString& sentence, const CTranslateOptions& options) {
    return translator.OnTranslate(sentence, options);
  });
  CConnectionLoop loop(listener, handler, stopSignals.descriptor());
  output << "http://" << ownHost << "/" << std::endl;
  const bool stopped = loop.Run();
  stopSignals.Consume();
  if (!loop.StopEngine(kTranslationGrace)) {
    // The engine thread is inside a translation that has outlived the grace:
    // the translator cannot be torn down under it, so the process ends here.
    output.flush();
    errors.flush();
    std::fflush(nullptr);
    _exit(kExitTranslated);
  }
  if (!stopped) {
    errors << "The page server stopped unexpectedly\n";
    return kExitFileError;
  }
  return kExitTranslated;
}
