// The data root of a run: the program works inside it (the configuration
// and every engine name their files relative to it) and holds a lock on it
// while it runs, so that two runs never rewrite each other's dumps, symbol
// table or log.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Makes the folder the current one; false (with the reason in error) when it
// is no folder or cannot be entered.
bool EnterDataRoot(const std::string& folder, std::string& error);

// False (with a message naming the folder searched and the option that
// chooses another) when the folder holds no configuration file.
bool HoldsConfiguration(const std::string& folder, std::string& error);

// An exclusive lock on a data root, held from a successful Acquire until the
// object goes. It is an flock on the folder itself and on the lock file in
// it (".translator.lock", which names the holder: its process id and
// program). Locking the folder means that deleting the lock file lets nobody
// in; the lock file is opened without following links, so a link planted
// there is refused instead of overwriting the file it points to. The kernel
// drops both when the holder ends, however it ends.
class CDataRootLock {
 public:
  enum class Outcome { kAcquired, kBusy, kFileError };
  // Told once, with the holder's name, when the lock is found held and the
  // caller is about to wait for it.
  using WaitNotice = std::function<void(const std::string& holder)>;

  CDataRootLock() = default;
  ~CDataRootLock();
  CDataRootLock(const CDataRootLock&) = delete;
  CDataRootLock& operator=(const CDataRootLock&) = delete;

  // Tries to take the lock until it is free or the wait has passed
  // (kWaitWhileHeld: as long as the holder lives). kBusy: holder() names the
  // run that holds it; kFileError: the folder or the lock file cannot be
  // opened, or the lock file is not a plain file (error() says why).
  Outcome Acquire(const std::string& folder, std::chrono::milliseconds wait, const WaitNotice& onWait = {});
  void Release();

  const std::string& holder() const { return holder_; }
  const std::string& error() const { return error_; }

 private:
  bool OpenFolderAndFile(const std::string& folder);
  bool TryLockBoth();
  void CloseBoth();

  int folderDescriptor_ = -1;
  int fileDescriptor_ = -1;
  bool held_ = false;
  std::string path_;
  std::string holder_;
  std::string error_;
};

inline constexpr const char* kDataRootLockFile = ".translator.lock";
inline constexpr std::chrono::milliseconds kWaitWhileHeld = std::chrono::milliseconds::max();
