// WriteOutputFile with the POSIX file calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/output_file.h"

namespace {

constexpr int kMostLinks = 40;            // links followed before giving up, as the kernel does
constexpr int kMostTemporaryNames = 100;  // ".tmp", ".1.tmp" ... ".99.tmp"

bool Fail(int error, std::string* problem) {
  *problem = std::strerror(error);
  return false;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

enum class Kind { kReplace, kInPlace, kFolder };

// Follows the symbolic links from path to what they name: a regular file or a
// missing one is replaced there. A link inside /proc (where /dev/stdout and
// /dev/fd/N lead) stands for an open descriptor, not a file: the path is written
// in place. Returns 0 or the error.
int Resolve(const std::string& path, std::string* target, Kind* kind) {
  std::string at = path;
  for (int hops = 0; hops < kMostLinks; ++hops) {
    struct stat s;
    if (lstat(at.c_str(), &s) != 0) {
      *target = at;
      *kind = Kind::kReplace;
      return errno == ENOENT ? 0 : errno;
    }
    if (!S_ISLNK(s.st_mode)) {
      *target = at;
      *kind = S_ISREG(s.st_mode) ? Kind::kReplace : S_ISDIR(s.st_mode) ? Kind::kFolder : Kind::kInPlace;
      return 0;
    }
    std::string absolute = at;
    if (at[0] != '/') {
      char* cwd = getcwd(nullptr, 0);
      absolute = std::string(cwd ? cwd : "") + "/" + at;
      std::free(cwd);
    }
    if (absolute.rfind("/proc/", 0) == 0) {
      *target = absolute;
      *kind = Kind::kInPlace;
      return 0;
    }
    std::string link(static_cast<std::size_t>(s.st_size > 0 ? s.st_size : 4096) + 1, '\0');
    ssize_t n = readlink(at.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    link.resize(static_cast<std::size_t>(n));
    at = link[0] == '/' ? link : FolderOf(at) + link;
  }
  return ELOOP;
}

// Writes every byte to the open file; 0 or the error.
int WriteAll(int file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(file, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The descriptor that a link /proc/self/fd/N stands for, or -1.
int OwnDescriptor(const std::string& path) {
  constexpr std::string_view kPrefix = "/proc/self/fd/";
  if (path.size() <= kPrefix.size() || path.compare(0, kPrefix.size(), kPrefix) != 0) return -1;
  if (path.find_first_not_of("0123456789", kPrefix.size()) != std::string::npos) return -1;
  return std::atoi(path.c_str() + kPrefix.size());
}

bool WriteInPlace(const std::string& path, std::string_view bytes, std::string* problem) {
  // /dev/stdout and the like: the bytes join what goes out on that descriptor
  // already, at its own position, as the shell's redirection set it up.
  if (int own = OwnDescriptor(path); own >= 0) {
    int error = WriteAll(own, bytes);
    return error == 0 || Fail(error, problem);
  }
  int file = open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
  if (file < 0) return Fail(errno, problem);
  int error = WriteAll(file, bytes);
  if (close(file) != 0 && error == 0) error = errno;
  return error == 0 || Fail(error, problem);
}

// A new file beside the target, created by this call (never one that was there);
// -1 with errno set when none can be made.
int CreateTemporary(const std::string& target, mode_t mode, std::string* name) {
  for (int i = 0; i < kMostTemporaryNames; ++i) {
    *name = target;
    if (i > 0) name->append(".").append(std::to_string(i));
    name->append(".tmp");
    int file = open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
    if (file >= 0 || errno != EEXIST) return file;
  }
  return -1;
}

bool Replace(const std::string& target, std::string_view bytes, std::string* problem) {
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  // A file this user may not write is not replaced behind its back.
  if (exists && access(target.c_str(), W_OK) != 0) return Fail(errno, problem);
  std::string temporary;
  int file = CreateTemporary(target, 0666, &temporary);
  if (file < 0) return Fail(errno, problem);
  int error = exists && fchmod(file, old.st_mode & 07777) != 0 ? errno : 0;
  if (error == 0) error = WriteAll(file, bytes);
  if (error == 0 && fsync(file) != 0) error = errno;
  if (close(file) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error == 0) return true;
  unlink(temporary.c_str());
  return Fail(error, problem);
}

}  // namespace

bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string* problem) {
  std::string target;
  Kind kind = Kind::kReplace;
  if (int error = Resolve(path, &target, &kind)) return Fail(error, problem);
  if (kind == Kind::kFolder) return Fail(EISDIR, problem);
  return kind == Kind::kInPlace ? WriteInPlace(target, bytes, problem) : Replace(target, bytes, problem);
}
