// SaveMergedFile with the POSIX file calls. The lock is an flock on the lock file,
// which the holder removes before it lets go; a taker that finds the name gone or
// given to a new file meanwhile tries again.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "safesave/file_calls.h"
#include "safesave/save_file.h"
#include "safesave/save_file_names.h"

namespace {

constexpr std::chrono::milliseconds kLockRetry{15};  // between two tries for a lock another copy holds

// Writes the bytes into a new file of that name and flushes them to the disk.
SaveFault SaveAsNewFile(const std::string& name, std::string_view bytes) {
  int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) return FaultOf(static_cast<SystemError>(errno));
  return FaultOf(WriteNewFile(file, bytes));
}

// The file that the name reaches: the file a symbolic link names, so that the link
// stays and that file is replaced; the name itself when nothing is there.
std::string FileToReplace(const char* name) {
  char* real = realpath(name, nullptr);
  if (real == nullptr) return name;
  std::string target = real;
  std::free(real);
  return target;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Locks the lock file, trying again until the wait is over; -1 with the fault.
int TakeLock(const std::string& lock, std::chrono::milliseconds wait, SaveFault* fault) {
  const auto end = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int file = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
      *fault = FaultOf(static_cast<SystemError>(errno));
      return -1;
    }
    if (flock(file, LOCK_EX | LOCK_NB) == 0) {
      struct stat held, named;
      if (fstat(file, &held) == 0 && stat(lock.c_str(), &named) == 0 && SameFile(held, named)) return file;
      close(file);  // the holder before removed it: try the name again
      continue;
    }
    const int error = errno;
    close(file);
    if (error != EWOULDBLOCK && error != EINTR) {
      *fault = FaultOf(static_cast<SystemError>(error));
      return -1;
    }
    if (std::chrono::steady_clock::now() >= end) {
      *fault = SaveFault::kBusy;
      return -1;
    }
    std::this_thread::sleep_for(kLockRetry);
  }
}

// Removes the temporary files that saves cut short left beside the target. Called
// with the lock held, when no other save is under way.
void RemoveLeftTemporaries(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string file_name = target.substr(folder.size());
  DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = readdir(listing)) {
    const std::string left = folder + entry->d_name;
    struct stat found;
    if (IsLeftTemporary(file_name, entry->d_name) && lstat(left.c_str(), &found) == 0 && !S_ISDIR(found.st_mode))
      unlink(left.c_str());
  }
  closedir(listing);
}

// The read-merge-replace itself, with the lock held.
SaveFault ReplaceUnderLock(const std::string& target, const MergeStep& merge) {
  RemoveLeftTemporaries(target);
  struct stat old;
  if (stat(target.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) return SaveFault::kFolder;
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return SaveFault::kReadOnly;
  }
  const std::optional<std::string> bytes = merge();
  if (!bytes) return SaveFault::kNone;
  const std::string temporary = target + TemporarySuffix(static_cast<unsigned long>(getpid()));
  SaveFault fault = SaveAsNewFile(temporary, *bytes);
  if (fault == SaveFault::kNone && std::rename(temporary.c_str(), target.c_str()) != 0) fault = SaveFault::kNotReplaced;
  if (fault != SaveFault::kNone) unlink(temporary.c_str());  // never a folder in its place
  return fault;
}

}  // namespace

SaveFault SaveMergedFile(const char* name, std::chrono::milliseconds wait, const MergeStep& merge) {
  const std::string target = FileToReplace(name);
  const std::string lock = target + kLockSuffix;
  SaveFault fault = SaveFault::kNone;
  int file = TakeLock(lock, wait, &fault);
  if (file < 0) return fault;
  fault = ReplaceUnderLock(target, merge);
  unlink(lock.c_str());  // before letting go, so that a waiting copy finds a new lock file
  close(file);
  return fault;
}
