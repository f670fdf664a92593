#include "app/server/engine_thread.h"

#include <unistd.h>

#include <exception>

CEngineThread::CEngineThread(int wakeDescriptor) : wakeDescriptor_(wakeDescriptor), thread_([this] { Run(); }) {}

CEngineThread::~CEngineThread() {
  Stop(std::chrono::milliseconds::max());
  if (thread_.joinable()) thread_.join();
}

void CEngineThread::Submit(uint64_t connection, Job job) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    queue_.emplace_back(connection, std::move(job));
  }
  work_.notify_one();
}

std::vector<std::pair<uint64_t, CPageResponse>> CEngineThread::TakeFinished() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(finished_, {});
}

bool CEngineThread::Stop(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  stopping_ = true;
  queue_.clear();
  work_.notify_all();
  const bool ended = wait == std::chrono::milliseconds::max()
                         ? (ended_.wait(lock, [this] { return !running_; }), true)
                         : ended_.wait_for(lock, wait, [this] { return !running_; });
  lock.unlock();
  if (ended && thread_.joinable()) thread_.join();
  return ended;
}

void CEngineThread::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) break;
    auto [connection, job] = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    CPageResponse response;
    try {
      response = job();
    } catch (const std::exception&) {
      response = CPageResponse{500, "text/plain; charset=utf-8", "The translation failed.\n"};
    }
    lock.lock();
    finished_.emplace_back(connection, std::move(response));
    const uint64_t one = 1;
    if (write(wakeDescriptor_, &one, sizeof one) < 0) {
      // The eventfd cannot overflow at one write per job; the loop also polls.
    }
  }
  running_ = false;
  ended_.notify_all();
}
