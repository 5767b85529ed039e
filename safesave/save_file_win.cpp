// SaveMergedFile with the Win32 file calls.
#include <windows.h>

#include <string>
#include <vector>

#include "safesave/file_calls.h"
#include "safesave/save_file.h"
#include "safesave/save_file_names.h"
#include "widenames/wide_names.h"

namespace {

constexpr DWORD kLockRetryMs = 15;      // between two tries for a lock another copy holds
constexpr DWORD kReplaceWaitMs = 5000;  // for a file that another program holds open to be let go

// The full name of the file that the name reaches: the file a symbolic link names,
// so that the link stays and that file is replaced. Wine shows a link as the file
// it names, so the system is asked for every file that is there; the name itself
// is kept when nothing is there or the system cannot tell.
std::wstring FileToReplace(const std::wstring& name) {
  HANDLE file = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return name;
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  if (length >= buffer.size()) {  // the length it needs, with the closing NUL
    buffer.resize(length);
    length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  }
  CloseHandle(file);
  return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : name;
}

// True when the lock file is held by another copy: it is open without sharing, or
// it is being deleted (Windows then refuses it with access denied). A folder in
// its place, or a folder where no file can be created, is no lock that ends.
bool HeldByAnother(const std::wstring& lock, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION) return true;
  if (error != ERROR_ACCESS_DENIED) return false;
  const DWORD there = GetFileAttributesW(lock.c_str());
  if (there == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_ACCESS_DENIED;
  // A lock file left read-only could never be deleted on close.
  if (there & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(lock.c_str(), FILE_ATTRIBUTE_HIDDEN);
  return !(there & FILE_ATTRIBUTE_DIRECTORY);
}

// Opens the lock file without sharing, deleted when its handle closes (also when
// the process is killed), trying again until the wait is over.
HANDLE TakeLock(const std::wstring& lock, std::chrono::milliseconds wait, SaveFault* fault) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(wait.count());
  for (;;) {
    HANDLE file = CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (!HeldByAnother(lock, error)) {
      *fault = FaultOf(error);
      return INVALID_HANDLE_VALUE;
    }
    if (GetTickCount64() >= end) {
      *fault = SaveFault::kBusy;
      return INVALID_HANDLE_VALUE;
    }
    Sleep(kLockRetryMs);
  }
}

// Removes the temporary files that saves cut short (a killed copy) left beside the
// target. Called with the lock held, when no other save is under way.
void RemoveLeftTemporaries(const std::wstring& target) {
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
  const std::string file_name = Utf8Of(target.substr(folder.size()));
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((target + L".*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!IsLeftTemporary(file_name, Utf8Of(found.cFileName))) continue;
    const std::wstring left = folder + found.cFileName;
    // With attributes of its own it could not be deleted.
    SetFileAttributesW(left.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(left.c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Gives the temporary file the target's name. Wine refuses to replace a file that
// any process holds open, however it shares it, and on Windows a virus scanner or
// an indexer may hold it: a copy of the program that is reading it as it starts
// holds it for a moment, so the replacing is tried again for a while.
bool Replace(const std::wstring& temporary, const std::wstring& target) {
  const ULONGLONG end = GetTickCount64() + kReplaceWaitMs;
  for (;;) {
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || GetTickCount64() >= end) return false;
    Sleep(kLockRetryMs);
  }
}

// The read-merge-replace itself, with the lock held.
SaveFault ReplaceUnderLock(const std::wstring& target, const MergeStep& merge) {
  RemoveLeftTemporaries(target);
  const SaveFault in_the_way = FaultOfAttributes(GetFileAttributesW(target.c_str()));
  if (in_the_way != SaveFault::kNone) return in_the_way;
  const std::optional<std::string> bytes = merge();
  if (!bytes) return SaveFault::kNone;
  const std::wstring temporary = target + WideOf(TemporarySuffix(GetCurrentProcessId()));
  HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FaultOf(GetLastError());
  SaveFault fault = FaultOf(WriteNewFile(file, *bytes));
  if (fault == SaveFault::kNone && !Replace(temporary, target)) fault = SaveFault::kNotReplaced;
  if (fault != SaveFault::kNone) DeleteFileW(temporary.c_str());
  return fault;
}

}  // namespace

SaveFault SaveMergedFile(const char* name_utf8, std::chrono::milliseconds wait, const MergeStep& merge) {
  const std::wstring target = FileToReplace(WideOf(name_utf8));
  SaveFault fault = SaveFault::kNone;
  HANDLE lock = TakeLock(target + WideOf(kLockSuffix), wait, &fault);
  if (lock == INVALID_HANDLE_VALUE) return fault;
  fault = ReplaceUnderLock(target, merge);
  CloseHandle(lock);  // which deletes the lock file
  return fault;
}
