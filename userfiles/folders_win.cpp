// The folders and file questions of file_place.h answered by Windows' wide calls.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <string>
#include <vector>

#include "safesave/save_file_names.h"
#include "userfiles/file_place.h"
#include "userfiles/folders.h"

namespace {

constexpr wchar_t kUserFolderName[] = L"Vantel";  // under %APPDATA%, for both programs
constexpr int kProbeTries = 8;                    // names tried for the test file

// A Windows call that fills a buffer and gives the length it needs when the
// buffer is too small, asked again with a larger one.
template <typename Call>
std::wstring Filled(Call call) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2 > length + 1 ? buffer.size() * 2 : length + 1);
  }
}

// A file is created in the folder and deleted again when its handle closes, so
// nothing stays behind even if the program ends at once.
bool CanWrite(const std::string& folder) {
  const std::wstring base = WideOf(JoinPath(folder, "~vantel-" + std::to_string(GetCurrentProcessId())));
  for (int i = 0; i < kProbeTries; ++i) {
    const std::wstring probe = base + L"-" + std::to_wstring(i) + L".tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and, first, any of its parents that is missing
// (CreateDirectoryW makes one level only).
bool MakeFolder(const std::string& folder) {
  const std::wstring wide = WideOf(folder);
  if (CreateDirectoryW(wide.c_str(), nullptr) || IsFolder(wide)) return true;
  if (GetLastError() != ERROR_PATH_NOT_FOUND) return false;
  const std::string parent = FolderOf(folder);
  // Each call is one level up, so this ends at the root, a share or a bare name.
  if (parent.empty() || parent.size() >= folder.size() || !MakeFolder(parent)) return false;
  return CreateDirectoryW(wide.c_str(), nullptr) || IsFolder(wide);
}

// The copy is made under a temporary name and then given the file's name, so a
// copy cut short is never taken for the file. It gets plain attributes: a starting
// file shipped read-only or as a system file must still be read and saved there.
bool CopyNew(const std::string& from, const std::string& to) {
  const std::wstring source = WideOf(from), target = WideOf(to);
  const std::wstring temporary = WideOf(to + TemporarySuffix(GetCurrentProcessId()));
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(temporary.c_str());
  if (!CopyFileW(source.c_str(), temporary.c_str(), FALSE)) return false;
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(temporary.c_str());
  // Another copy of the program, started at the same moment, made it first.
  return PathIsFile(to);
}

FolderQueries ThisSystem() {
  return {CanWrite, MakeFolder, [](const std::string& path) { return PathIsFile(path); }, CopyNew};
}

}  // namespace

std::string CurrentFolder() {
  return Utf8Of(Filled([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}

std::string ProgramFile() {
  // GetModuleFileNameW gives the whole buffer's length when the path was cut.
  return Utf8Of(Filled([](wchar_t* buffer, DWORD size) {
    DWORD length = GetModuleFileNameW(nullptr, buffer, size);
    return length == size ? size : length;
  }));
}

std::string ProgramFolder() { return FolderOf(ProgramFile()); }

std::string UserFolder() {
  std::wstring base =
      Filled([](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(L"APPDATA", buffer, size); });
  if (!IsFullPath(Utf8Of(base))) {
    base.clear();
    wchar_t shell[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, shell))) base = shell;
  }
  if (base.empty()) return {};
  return JoinPath(Utf8Of(base), Utf8Of(kUserFolderName));
}

FilePlacement ProgramFilePlace(std::string_view name) {
  return FilePlace(CurrentFolder(), UserFolder(), name, ThisSystem());
}

std::string HelpTextPath(std::string_view name) {
  return HelpTextPlace(CurrentFolder(), ProgramFolder(), name, ThisSystem());
}

std::FILE* OpenFileForReading(const std::string& path) { return _wfopen(WideOf(path).c_str(), L"rb"); }

bool PathIsFile(const std::string& path, unsigned long* attributes) {
  DWORD found = GetFileAttributesW(WideOf(path).c_str());
  if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (attributes) *attributes = found;
  return true;
}
