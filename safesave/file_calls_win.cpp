// The shared file calls with Win32 handles. The C runtime is not used: its fclose
// can report success when the final flush failed on a full disk.
#include <windows.h>

#include "safesave/file_calls.h"

namespace {

constexpr DWORD kMostPerWrite = 1 << 20;  // bytes handed to one WriteFile call

}  // namespace

SystemError WriteAll(FileHandle file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = bytes.size() - done < kMostPerWrite ? static_cast<DWORD>(bytes.size() - done) : kMostPerWrite;
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr)) return GetLastError();
    // A write to a file stops short only when the disk has no room for the rest.
    if (written == 0) return ERROR_HANDLE_DISK_FULL;
    done += written;
  }
  return 0;
}

SystemError WriteNewFile(FileHandle file, std::string_view bytes) {
  SystemError error = WriteAll(file, bytes);
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  LARGE_INTEGER written{};
  if (error == 0 && !GetFileSizeEx(file, &written)) error = GetLastError();
  if (error == 0 && static_cast<ULONGLONG>(written.QuadPart) != bytes.size()) error = ERROR_WRITE_FAULT;
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  return error;
}

SaveFault FaultOf(SystemError error, SaveFault otherwise) {
  if (error == 0) return SaveFault::kNone;
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? SaveFault::kDiskFull : otherwise;
}

// The reasons in the words the POSIX build prints for them.
std::string SystemErrorText(SystemError error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "No space left on device";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return "Permission denied";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "No such file or directory";
    case ERROR_DIRECTORY:
      return "Is a directory";
    default:
      return "Windows error " + std::to_string(error);
  }
}

SaveFault FaultOfAttributes(unsigned long attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) return SaveFault::kNone;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return SaveFault::kFolder;
  return attributes & FILE_ATTRIBUTE_READONLY ? SaveFault::kReadOnly : SaveFault::kNone;
}
