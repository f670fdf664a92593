// The data root of a run: the program works inside it (the configuration
// and every engine name their files relative to it) and holds a lock on it
// while it runs, so that two runs never rewrite each other's dumps, symbol
// table or log.
#pragma once

#include <chrono>
#include <string>

// Makes the folder the current one; false (with the reason in error) when it
// is no folder or cannot be entered.
bool EnterDataRoot(const std::string& folder, std::string& error);

// An exclusive lock on the lock file of a data root (".translator.lock" in
// it), held from a successful Acquire until the object goes. The file names
// the holder: its process id and program.
class CDataRootLock {
 public:
  enum class Outcome { kAcquired, kBusy, kFileError };

  CDataRootLock() = default;
  ~CDataRootLock();
  CDataRootLock(const CDataRootLock&) = delete;
  CDataRootLock& operator=(const CDataRootLock&) = delete;

  // Tries to take the lock until it is free or the wait has passed. kBusy:
  // holder() names the run that holds it; kFileError: the lock file cannot
  // be made (error() says why).
  Outcome Acquire(const std::string& folder, std::chrono::milliseconds wait);
  void Release();

  const std::string& holder() const { return holder_; }
  const std::string& error() const { return error_; }

 private:
  int descriptor_ = -1;
  std::string holder_;
  std::string error_;
};

inline constexpr const char* kDataRootLockFile = ".translator.lock";
inline constexpr std::chrono::milliseconds kDataRootLockWait{5000};
