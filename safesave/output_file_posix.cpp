// WriteOutputFile with the POSIX file calls: what the path is, on top of the
// shared writing of a new file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "safesave/file_calls.h"
#include "safesave/output_file.h"

namespace {

constexpr int kMostLinks = 40;            // links followed before giving up, as the kernel does
constexpr int kMostTemporaryNames = 100;  // ".tmp", ".1.tmp" ... ".99.tmp"

// The fault of the error (none for 0), with the system's words for it.
SaveFault Fail(int error, SaveFault fault, std::string* reason) {
  if (error == 0) return SaveFault::kNone;
  *reason = SystemErrorText(static_cast<SystemError>(error));
  return FaultOf(static_cast<SystemError>(error), fault);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

enum class Kind { kReplace, kInPlace, kFolder };

// The folder that holds the last name of path, with every link in it resolved
// ("/dev/fd" becomes "/proc/1234/fd"); empty when it cannot be found.
std::string RealFolder(const std::string& path) {
  const std::string folder = FolderOf(path);
  char* real = realpath(folder.empty() ? "." : folder.c_str(), nullptr);
  std::string result = real ? real : "";
  std::free(real);
  return result;
}

// The links in /proc (where /dev/stdout, /dev/fd/N and /proc/self/fd/N lead)
// stand for open descriptors, not for the files they name: what lies behind a
// descriptor is never replaced.
bool IsInProc(const std::string& real_folder) { return real_folder == "/proc" || real_folder.rfind("/proc/", 0) == 0; }

// Follows the symbolic links from path to what they name: a regular file or a
// missing one is replaced there; a link in /proc is written in place, as its
// real path. Returns 0 or the error.
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
    if (std::string folder = RealFolder(at); IsInProc(folder)) {
      *target = folder + "/" + at.substr(at.rfind('/') + 1);
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

// The number at the start of text, moving past its digits; -1 when there is none.
long TakeNumber(std::string_view* text) {
  const std::size_t digits = std::min(text->find_first_not_of("0123456789"), text->size());
  if (digits == 0 || digits > 9) return -1;
  long number = std::atol(std::string(text->substr(0, digits)).c_str());
  text->remove_prefix(digits);
  return number;
}

// The descriptor of this process that a real path /proc/PID/fd/N or
// /proc/PID/task/TID/fd/N stands for, or -1.
int OwnDescriptor(std::string_view path) {
  if (path.substr(0, 6) != "/proc/") return -1;
  path.remove_prefix(6);
  if (TakeNumber(&path) != getpid()) return -1;
  if (path.substr(0, 6) == "/task/") {
    path.remove_prefix(6);
    if (TakeNumber(&path) < 0) return -1;
  }
  if (path.substr(0, 4) != "/fd/") return -1;
  path.remove_prefix(4);
  long descriptor = TakeNumber(&path);
  return path.empty() ? static_cast<int>(descriptor) : -1;
}

SaveFault WriteInPlace(const std::string& path, std::string_view bytes, std::string* reason) {
  // /dev/stdout, /dev/fd/N and the like: the bytes join what goes out on that
  // descriptor, at its own position, as the shell's redirection set it up
  // (after what an appended file holds).
  if (int own = OwnDescriptor(path); own >= 0)
    return Fail(static_cast<int>(WriteAll(own, bytes)), SaveFault::kDevice, reason);
  int file = open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
  if (file < 0) return Fail(errno, SaveFault::kDevice, reason);
  int error = static_cast<int>(WriteAll(file, bytes));
  if (close(file) != 0 && error == 0) error = errno;
  return Fail(error, SaveFault::kDevice, reason);
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

SaveFault Replace(const std::string& target, std::string_view bytes, std::string* reason) {
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  // A file this user may not write is not replaced behind its back.
  if (exists && access(target.c_str(), W_OK) != 0) return Fail(errno, SaveFault::kReadOnly, reason);
  std::string temporary;
  int file = CreateTemporary(target, 0666, &temporary);
  if (file < 0) return Fail(errno, SaveFault::kNotWritten, reason);
  int error = exists && fchmod(file, old.st_mode & 07777) != 0 ? errno : 0;
  if (error != 0)
    close(file);
  else
    error = static_cast<int>(WriteNewFile(file, bytes));
  SaveFault fault = SaveFault::kNotWritten;
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    fault = SaveFault::kNotReplaced;
  }
  if (error != 0) unlink(temporary.c_str());
  return Fail(error, fault, reason);
}

}  // namespace

SaveFault WriteOutputFile(const std::string& path, std::string_view bytes, std::string* reason) {
  std::string target;
  Kind kind = Kind::kReplace;
  if (int error = Resolve(path, &target, &kind))
    return Fail(error, error == ELOOP ? SaveFault::kLink : SaveFault::kNotWritten, reason);
  if (kind == Kind::kFolder) return Fail(EISDIR, SaveFault::kFolder, reason);
  return kind == Kind::kInPlace ? WriteInPlace(target, bytes, reason) : Replace(target, bytes, reason);
}
