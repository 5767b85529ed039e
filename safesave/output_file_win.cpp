// WriteOutputFile with the Win32 file calls on UTF-16 names: what the path is, on
// top of the shared writing of a new file.
#include <windows.h>

#include <string>

#include "safesave/file_calls.h"
#include "safesave/output_file.h"
#include "widenames/wide_names.h"

namespace {

constexpr int kMostTemporaryNames = 100;  // ".tmp", ".1.tmp" ... ".99.tmp"

// The fault of the error (none for 0), with the words the POSIX build prints for it.
SaveFault Fail(DWORD error, SaveFault fault, std::string* reason) {
  if (error == 0) return SaveFault::kNone;
  *reason = SystemErrorText(error);
  return FaultOf(error, fault);
}

// The full name of the file an open handle reaches (through links), or the name given.
std::wstring FinalName(HANDLE file, const std::wstring& name) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD size = GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 4, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  return size > 0 && size < MAX_PATH * 4 ? std::wstring(buffer, size) : name;
}

// A new file beside the target, created by this call (never one that was there).
HANDLE CreateTemporary(const std::wstring& target, std::wstring* name) {
  for (int i = 0; i < kMostTemporaryNames; ++i) {
    *name = target;
    if (i > 0) name->append(L".").append(std::to_wstring(i));
    name->append(L".tmp");
    HANDLE file = CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS))
      return file;
  }
  return INVALID_HANDLE_VALUE;
}

SaveFault Replace(const std::wstring& target, std::string_view bytes, std::string* reason) {
  std::wstring temporary;
  HANDLE file = CreateTemporary(target, &temporary);
  if (file == INVALID_HANDLE_VALUE) return Fail(GetLastError(), SaveFault::kNotWritten, reason);
  DWORD error = WriteNewFile(file, bytes);
  SaveFault fault = SaveFault::kNotWritten;
  if (error == 0 &&
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    fault = SaveFault::kNotReplaced;
  }
  if (error != 0) DeleteFileW(temporary.c_str());
  return Fail(error, fault, reason);
}

}  // namespace

SaveFault WriteOutputFile(const std::string& path, std::string_view bytes, std::string* reason) {
  const std::wstring name = WideOf(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  // Checked first: Wine would also open a read-only file for writing.
  const SaveFault in_the_way = FaultOfAttributes(attributes);
  if (in_the_way != SaveFault::kNone)
    return Fail(in_the_way == SaveFault::kFolder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED, in_the_way, reason);
  // Opening what is there for writing changes nothing yet; it shows whether this
  // user may write it (a read-only file is refused) and what it is.
  HANDLE existing = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // Nothing there yet; a link that names no file is not replaced by one.
    if (error != ERROR_FILE_NOT_FOUND || (attributes != INVALID_FILE_ATTRIBUTES))
      return Fail(error,
                  error == ERROR_ACCESS_DENIED       ? SaveFault::kReadOnly
                  : error == ERROR_SHARING_VIOLATION ? SaveFault::kBusy
                                                     : SaveFault::kNotWritten,
                  reason);
    return Replace(name, bytes, reason);
  }
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    // A device, console or pipe: written in place.
    DWORD error = WriteAll(existing, bytes);
    if (!CloseHandle(existing) && error == 0) error = GetLastError();
    return Fail(error, SaveFault::kDevice, reason);
  }
  const std::wstring target = FinalName(existing, name);
  CloseHandle(existing);
  return Replace(target, bytes, reason);
}
