// SaveWholeFile with the Win32 file calls. The C runtime is not used for it: its
// fclose can report success when the final flush failed on a full disk.
#include <windows.h>

#include <string>

#include "userfiles/folders.h"
#include "winhelpers/save_file.h"

namespace {

constexpr DWORD kMostPerWrite = 1 << 20;  // bytes handed to one WriteFile call

SaveFault FaultOf(DWORD error) {
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? SaveFault::kDiskFull : SaveFault::kNotWritten;
}

// Writes the bytes into an open, empty file and flushes them to the disk.
SaveFault WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = bytes.size() - done < kMostPerWrite ? static_cast<DWORD>(bytes.size() - done) : kMostPerWrite;
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr)) return FaultOf(GetLastError());
    // A write to a file stops short only when the disk has no room for the rest.
    if (written != part) return SaveFault::kDiskFull;
    done += written;
  }
  if (!FlushFileBuffers(file)) return FaultOf(GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || static_cast<ULONGLONG>(size.QuadPart) != bytes.size())
    return SaveFault::kNotWritten;
  return SaveFault::kNone;
}

}  // namespace

SaveFault SaveWholeFile(const char* name_utf8, std::string_view bytes) {
  const std::wstring name = WideOf(name_utf8);
  // Checked first: Wine's rename would replace a read-only file and drop its flag,
  // where Windows refuses.
  DWORD old = GetFileAttributesW(name.c_str());
  if (old != INVALID_FILE_ATTRIBUTES) {
    if (old & FILE_ATTRIBUTE_DIRECTORY) return SaveFault::kFolder;
    if (old & FILE_ATTRIBUTE_READONLY) return SaveFault::kReadOnly;
  }
  const std::wstring temporary = name + L".tmp";
  DWORD stale = GetFileAttributesW(temporary.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES) {
    if (stale & FILE_ATTRIBUTE_DIRECTORY) return SaveFault::kTemporaryFolder;
    // What an earlier save left; with attributes of its own it could not be emptied.
    SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporary.c_str());
  }
  HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FaultOf(GetLastError());
  SaveFault fault = WriteAll(file, bytes);
  if (!CloseHandle(file) && fault == SaveFault::kNone) fault = FaultOf(GetLastError());
  if (fault == SaveFault::kNone &&
      !MoveFileExW(temporary.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fault = SaveFault::kNotReplaced;
  }
  if (fault != SaveFault::kNone) DeleteFileW(temporary.c_str());
  return fault;
}
