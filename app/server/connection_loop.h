// The page server's connections, all served by one thread that polls every
// socket: it reads requests, answers the quick ones itself, hands
// translations to the engine thread and writes the answers back. A slow
// client holds only its own connection, and that only for a bounded time;
// a client that opens too many loses its oldest unfinished one.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>

#include "app/server/engine_thread.h"

class CListeningSocket;
class CPageRequestHandler;
struct CPageConnection;

struct CServerLimits {
  std::chrono::milliseconds requestTime{10'000};  // to receive a whole request
  std::chrono::milliseconds writeTime{10'000};    // to send a whole answer
  std::chrono::milliseconds lingerTime{1'000};    // to read what a client still sends after its answer
  size_t connectionsPerClient = 16;
  size_t connections = 128;
};

class CConnectionLoop {
 public:
  // stopDescriptor: readable when the loop is to end (a signalfd or eventfd).
  CConnectionLoop(const CListeningSocket& listener, CPageRequestHandler& handler, int stopDescriptor,
                  CServerLimits limits = {});
  ~CConnectionLoop();
  CConnectionLoop(const CConnectionLoop&) = delete;
  CConnectionLoop& operator=(const CConnectionLoop&) = delete;

  // Serves until the stop descriptor is readable; false when polling fails.
  // Every connection is closed when it returns.
  bool Run();
  // Ends the engine thread, waiting for a running translation at most the
  // time; true when it has ended.
  bool StopEngine(std::chrono::milliseconds wait) { return engine_->Stop(wait); }

 private:
  void AcceptAll();
  bool MakeRoomFor(const std::string& peer);
  void Read(CPageConnection& connection);
  void Dispatch(CPageConnection& connection);
  void Write(CPageConnection& connection);
  void Linger(CPageConnection& connection);
  void Answer(CPageConnection& connection, const CPageResponse& response);
  void CollectTranslations();
  void EnforceDeadlines();
  void CloseEnded();

  const CListeningSocket& listener_;
  CPageRequestHandler& handler_;
  int stopDescriptor_;
  int wakeDescriptor_;
  CServerLimits limits_;
  std::unique_ptr<CEngineThread> engine_;
  std::list<std::unique_ptr<CPageConnection>> connections_;  // oldest first
  uint64_t nextId_ = 1;
};
