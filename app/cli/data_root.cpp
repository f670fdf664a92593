#include "app/cli/data_root.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};

std::string ReadHolder(int descriptor) {
  char buffer[256];
  const ssize_t count = pread(descriptor, buffer, sizeof buffer - 1, 0);
  if (count <= 0) return "another run";
  std::string holder(buffer, static_cast<size_t>(count));
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
  return holder.empty() ? "another run" : holder;
}

void WriteHolder(int descriptor) {
  const std::string holder = "process " + std::to_string(getpid()) + " (translator)\n";
  if (ftruncate(descriptor, 0) != 0) return;
  // The holder's name is informative only; a failed write leaves the lock held.
  if (pwrite(descriptor, holder.data(), holder.size(), 0) < 0) return;
}

}  // namespace

bool EnterDataRoot(const std::string& folder, std::string& error) {
  std::error_code status;
  if (!std::filesystem::is_directory(folder, status)) {
    error = "The data root '" + folder + "' is not a folder";
    return false;
  }
  std::filesystem::current_path(folder, status);
  if (status) {
    error = "The data root '" + folder + "' cannot be entered: " + status.message();
    return false;
  }
  return true;
}

CDataRootLock::~CDataRootLock() { Release(); }

CDataRootLock::Outcome CDataRootLock::Acquire(const std::string& folder, std::chrono::milliseconds wait) {
  Release();
  const std::string path = (std::filesystem::path(folder) / kDataRootLockFile).string();
  descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor_ < 0) {
    error_ = "The lock file '" + path + "' cannot be made: " + std::strerror(errno);
    return Outcome::kFileError;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (flock(descriptor_, LOCK_EX | LOCK_NB) == 0) {
      WriteHolder(descriptor_);
      return Outcome::kAcquired;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      error_ = "The lock file '" + path + "' cannot be locked: " + std::strerror(errno);
      Release();
      return Outcome::kFileError;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kRetryInterval);
  }
  holder_ = ReadHolder(descriptor_);
  close(descriptor_);
  descriptor_ = -1;
  return Outcome::kBusy;
}

void CDataRootLock::Release() {
  if (descriptor_ < 0) return;
  flock(descriptor_, LOCK_UN);
  close(descriptor_);
  descriptor_ = -1;
}
