// The one thread that runs translations for the page server. The engines
// share program-wide state and each sentence may use much memory, so one
// thread translates and the connection loop only reads and writes sockets:
// the process holds the memory of one translator however many clients wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/server/page_request.h"

class CEngineThread {
 public:
  using Job = std::function<CPageResponse()>;

  // wakeDescriptor: an eventfd the thread writes to after each finished job.
  CEngineThread(int wakeDescriptor);
  ~CEngineThread();
  CEngineThread(const CEngineThread&) = delete;
  CEngineThread& operator=(const CEngineThread&) = delete;

  // Queues the job for the connection with this id.
  void Submit(uint64_t connection, Job job);
  // The answers finished since the last call, with their connections' ids.
  std::vector<std::pair<uint64_t, CPageResponse>> TakeFinished();
  // Drops queued jobs and waits for the running one at most the time; true
  // when the thread has ended (then it is joined).
  bool Stop(std::chrono::milliseconds wait);

 private:
  void Run();

  int wakeDescriptor_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable ended_;
  std::deque<std::pair<uint64_t, Job>> queue_;
  std::vector<std::pair<uint64_t, CPageResponse>> finished_;
  bool stopping_ = false;
  bool running_ = true;
  std::thread thread_;
};
