// The places of a school laptop for the end-to-end tests under Wine: a folder the
// program is started in that it cannot write (a read-only mount made by
// tests/readonly_folder.sh, named in VANTEL_READONLY_FOLDER), and a per-user
// application-data folder whose name holds Cyrillic letters.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace user_places {

// Windows paths of one folder: written by the test through `writable`, seen by the
// program, read-only, as `read_only`. Both empty when there is none (the test was
// run outside ctest, or mounting was not allowed).
struct ReadOnlyFolder {
  std::string writable, read_only;
};

inline ReadOnlyFolder FindReadOnlyFolder() {
  const char* named = std::getenv("VANTEL_READONLY_FOLDER");
  if (named == nullptr || *named == '\0') return {};
  // Under Wine the host's files are reached through drive Z:.
  std::string base = "Z:" + std::string(named);
  for (char& c : base)
    if (c == '/') c = '\\';
  ReadOnlyFolder folder{base + "\\rw", base + "\\ro"};
  const std::string probe = folder.read_only + "\\probe";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {  // writable after all: not the folder these tests need
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return {};
  }
  return folder;
}

inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

inline bool ReadWide(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return true;
}

// While it lives, APPDATA holds the text given, for the programs this process
// starts; what it held before is put back at the end.
class AppDataSetTo {
 public:
  explicit AppDataSetTo(const std::wstring& value) {
    wchar_t old[4096] = {};
    had_old_ = GetEnvironmentVariableW(L"APPDATA", old, 4096) > 0;
    old_ = old;
    SetEnvironmentVariableW(L"APPDATA", value.c_str());
  }
  ~AppDataSetTo() { SetEnvironmentVariableW(L"APPDATA", had_old_ ? old_.c_str() : nullptr); }
  AppDataSetTo(const AppDataSetTo&) = delete;
  AppDataSetTo& operator=(const AppDataSetTo&) = delete;

 private:
  std::wstring old_;
  bool had_old_ = false;
};

// While it lives, APPDATA names a fresh folder "...\Temp\vantel-Алексей-PID" for
// the programs this process starts; removed with its contents at the end.
class CyrillicAppData {
 public:
  CyrillicAppData() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"vantel-\u0410\u043B\u0435\u043A\u0441\u0435\u0439-" +
            std::to_wstring(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
    wchar_t old[4096] = {};
    had_old_ = GetEnvironmentVariableW(L"APPDATA", old, 4096) > 0;
    old_ = old;
    SetEnvironmentVariableW(L"APPDATA", path_.c_str());
  }
  ~CyrillicAppData() {
    SetEnvironmentVariableW(L"APPDATA", had_old_ ? old_.c_str() : nullptr);
    RemoveTree(path_);
  }
  CyrillicAppData(const CyrillicAppData&) = delete;
  CyrillicAppData& operator=(const CyrillicAppData&) = delete;

  // The program's file in the per-user folder "Vantel"; false when it is not there.
  bool Read(const char* name, std::string& bytes) const {
    return ReadWide(path_ + L"\\Vantel\\" + std::wstring(name, name + std::char_traits<char>::length(name)), bytes);
  }

 private:
  std::wstring path_, old_;
  bool had_old_ = false;
};

}  // namespace user_places
