// SaveWholeFile with the POSIX file calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "winhelpers/save_file.h"

namespace {

SaveFault FaultOf(int error) {
  return error == ENOSPC || error == EDQUOT ? SaveFault::kDiskFull : SaveFault::kNotWritten;
}

// Writes the bytes into a new file of that name and flushes them to the disk.
SaveFault WriteNewFile(const std::string& name, std::string_view bytes) {
  int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) return FaultOf(errno);
  SaveFault fault = SaveFault::kNone;
  std::size_t done = 0;
  while (fault == SaveFault::kNone && done < bytes.size()) {
    ssize_t n = write(file, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (n < 0 && errno != EINTR)
      fault = FaultOf(errno);
    else if (n == 0)
      fault = SaveFault::kNotWritten;
  }
  if (fault == SaveFault::kNone && fsync(file) != 0) fault = FaultOf(errno);
  struct stat written;
  if (fault == SaveFault::kNone &&
      (fstat(file, &written) != 0 || static_cast<std::size_t>(written.st_size) != bytes.size())) {
    fault = SaveFault::kNotWritten;
  }
  if (close(file) != 0 && fault == SaveFault::kNone) fault = FaultOf(errno);
  return fault;
}

}  // namespace

SaveFault SaveWholeFile(const char* name, std::string_view bytes) {
  struct stat old;
  if (stat(name, &old) == 0) {
    if (S_ISDIR(old.st_mode)) return SaveFault::kFolder;
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return SaveFault::kReadOnly;
  }
  const std::string temporary = std::string(name) + ".tmp";
  struct stat stale;
  if (lstat(temporary.c_str(), &stale) == 0) {
    if (S_ISDIR(stale.st_mode)) return SaveFault::kTemporaryFolder;
    unlink(temporary.c_str());  // what an earlier save left
  }
  SaveFault fault = WriteNewFile(temporary, bytes);
  if (fault == SaveFault::kNone && std::rename(temporary.c_str(), name) != 0) fault = SaveFault::kNotReplaced;
  if (fault != SaveFault::kNone) unlink(temporary.c_str());
  return fault;
}
