#include "app/cli/data_root.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};
constexpr const char* kConfigurationFile = "EConfig.inf";

std::string ReadHolder(int descriptor) {
  char buffer[256];
  const ssize_t count = descriptor < 0 ? -1 : pread(descriptor, buffer, sizeof buffer - 1, 0);
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

// 1: locked; 0: held by another; -1: flock failed otherwise.
int TryLock(int descriptor) {
  if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return 1;
  return errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
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

bool HoldsConfiguration(const std::string& folder, std::string& error) {
  std::error_code status;
  if (std::filesystem::is_regular_file(std::filesystem::path(folder) / kConfigurationFile, status)) return true;
  error = "There is no " + std::string(kConfigurationFile) + " in the data root '" + folder +
          "' (the folder searched); --data-root DIR chooses another data root";
  return false;
}

CDataRootLock::~CDataRootLock() { Release(); }

CDataRootLock::Outcome CDataRootLock::Acquire(const std::string& folder, std::chrono::milliseconds wait,
                                              const WaitNotice& onWait) {
  Release();
  holder_.clear();
  error_.clear();
  if (!OpenFolderAndFile(folder)) {
    CloseBoth();
    return Outcome::kFileError;
  }
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (wait != kWaitWhileHeld) deadline = std::chrono::steady_clock::now() + wait;
  bool told = false;
  while (!TryLockBoth()) {
    if (!error_.empty()) {
      CloseBoth();
      return Outcome::kFileError;
    }
    if (deadline && std::chrono::steady_clock::now() >= *deadline) {
      holder_ = ReadHolder(fileDescriptor_);
      CloseBoth();
      return Outcome::kBusy;
    }
    if (!told && onWait) onWait(ReadHolder(fileDescriptor_));
    told = true;
    std::this_thread::sleep_for(kRetryInterval);
  }
  held_ = true;
  WriteHolder(fileDescriptor_);
  return Outcome::kAcquired;
}

// The folder, and the lock file in it made or opened without following a
// link and without blocking (a FIFO planted there would block an open).
bool CDataRootLock::OpenFolderAndFile(const std::string& folder) {
  folderDescriptor_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderDescriptor_ < 0) {
    error_ = "The data root '" + folder + "' cannot be opened for its lock: " + std::strerror(errno);
    return false;
  }
  path_ = (std::filesystem::path(folder) / kDataRootLockFile).string();
  fileDescriptor_ =
      openat(folderDescriptor_, kDataRootLockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fileDescriptor_ < 0) {
    const int reason = errno;
    error_ = reason == ELOOP ? "The lock file '" + path_ + "' is a symbolic link; the lock is refused (remove the link)"
                             : "The lock file '" + path_ + "' cannot be made: " + std::strerror(reason);
    return false;
  }
  struct stat status {};
  if (fstat(fileDescriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
    error_ = "The lock file '" + path_ + "' is not a plain file; the lock is refused (remove it)";
    return false;
  }
  return true;
}

// The folder first, then the file; a run that holds the folder but finds
// the file held by another lets go of the folder again.
bool CDataRootLock::TryLockBoth() {
  const int folder = TryLock(folderDescriptor_);
  if (folder <= 0) {
    if (folder < 0) error_ = "The data root of '" + path_ + "' cannot be locked: " + std::strerror(errno);
    return false;
  }
  const int file = TryLock(fileDescriptor_);
  if (file > 0) return true;
  if (file < 0) error_ = "The lock file '" + path_ + "' cannot be locked: " + std::strerror(errno);
  flock(folderDescriptor_, LOCK_UN);
  return false;
}

void CDataRootLock::Release() {
  if (held_) {
    flock(fileDescriptor_, LOCK_UN);
    flock(folderDescriptor_, LOCK_UN);
    held_ = false;
  }
  CloseBoth();
}

void CDataRootLock::CloseBoth() {
  if (fileDescriptor_ >= 0) close(fileDescriptor_);
  if (folderDescriptor_ >= 0) close(folderDescriptor_);
  fileDescriptor_ = folderDescriptor_ = -1;
}
