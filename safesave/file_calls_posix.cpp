// The shared file calls with POSIX descriptors.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "safesave/file_calls.h"

SystemError WriteAll(FileHandle file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(file, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? static_cast<SystemError>(errno) : EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

SystemError WriteNewFile(FileHandle file, std::string_view bytes) {
  SystemError error = WriteAll(file, bytes);
  if (error == 0 && fsync(file) != 0) error = static_cast<SystemError>(errno);
  struct stat written;
  if (error == 0 && fstat(file, &written) != 0) error = static_cast<SystemError>(errno);
  if (error == 0 && static_cast<std::size_t>(written.st_size) != bytes.size()) error = EIO;
  if (close(file) != 0 && error == 0) error = static_cast<SystemError>(errno);
  return error;
}

SaveFault FaultOf(SystemError error, SaveFault otherwise) {
  if (error == 0) return SaveFault::kNone;
  return error == ENOSPC || error == EDQUOT ? SaveFault::kDiskFull : otherwise;
}

std::string SystemErrorText(SystemError error) { return std::strerror(static_cast<int>(error)); }
