// WriteOutputFile with the Win32 file calls on UTF-16 names.
#include <windows.h>

#include <string>

#include "cli/output_file.h"
#include "userfiles/folders.h"

// The wide calls reach any name the console can pass, and they report a final
// flush that failed on a full disk, which the C runtime's fclose could pass over.
namespace {

constexpr DWORD kMostPerWrite = 1 << 20;  // bytes handed to one WriteFile call
constexpr int kMostTemporaryNames = 100;  // ".tmp", ".1.tmp" ... ".99.tmp"

// The reasons in the words the POSIX build prints for them.
bool Fail(DWORD error, std::string* problem) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      *problem = "No space left on device";
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      *problem = "Permission denied";
      break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      *problem = "No such file or directory";
      break;
    case ERROR_DIRECTORY:
      *problem = "Is a directory";
      break;
    default:
      *problem = "Windows error " + std::to_string(error);
  }
  return false;
}

// Writes every byte to the open file; 0 or the error.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = bytes.size() - done < kMostPerWrite ? static_cast<DWORD>(bytes.size() - done) : kMostPerWrite;
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_HANDLE_DISK_FULL;
    done += written;
  }
  return 0;
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

bool Replace(const std::wstring& target, std::string_view bytes, std::string* problem) {
  std::wstring temporary;
  HANDLE file = CreateTemporary(target, &temporary);
  if (file == INVALID_HANDLE_VALUE) return Fail(GetLastError(), problem);
  DWORD error = WriteAll(file, bytes);
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  if (error == 0 && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error == 0) return true;
  DeleteFileW(temporary.c_str());
  return Fail(error, problem);
}

}  // namespace

bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string* problem) {
  const std::wstring name = WideOf(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Fail(ERROR_DIRECTORY, problem);
  // Checked first: Wine would open a read-only file for writing, and its rename
  // would replace it, where Windows refuses.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return Fail(ERROR_ACCESS_DENIED, problem);
  // Opening what is there for writing changes nothing yet; it shows whether this
  // user may write it (a read-only file is refused) and what it is.
  HANDLE existing = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // Nothing there yet; a link that names no file is not replaced by one.
    if (error != ERROR_FILE_NOT_FOUND || (attributes != INVALID_FILE_ATTRIBUTES)) return Fail(error, problem);
    return Replace(name, bytes, problem);
  }
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    // A device, console or pipe: written in place.
    DWORD error = WriteAll(existing, bytes);
    if (!CloseHandle(existing) && error == 0) error = GetLastError();
    return error == 0 || Fail(error, problem);
  }
  const std::wstring target = FinalName(existing, name);
  CloseHandle(existing);
  return Replace(target, bytes, problem);
}
