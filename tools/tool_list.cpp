#include "tools/tool_list.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "tools/items.h"

#ifdef _WIN32
#include <windows.h>

#include "userfiles/folders.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace {

enum class FileRead { kRead, kMissing, kNotRead };

#ifdef _WIN32

// The file calls of Windows, not the C runtime's: its fclose can report success
// when the final flush failed on a full disk. The wide calls take the path as it
// is, whatever characters the folder names hold.
bool Exists(const fs::path& file) { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

FileRead ReadWholeFile(const fs::path& file, std::string& content) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Exists(file) ? FileRead::kNotRead : FileRead::kMissing;
  char buffer[4096];
  DWORD n = 0;
  bool ok;
  while ((ok = ReadFile(handle, buffer, sizeof buffer, &n, nullptr)) && n > 0) content.append(buffer, n);
  CloseHandle(handle);
  return ok ? FileRead::kRead : FileRead::kNotRead;
}

bool IsFolderOrReadOnly(const fs::path& file) {
  DWORD attributes = GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0;
}

// Creates the file anew with the text, every byte of it flushed to the disk.
bool WriteNewFile(const fs::path& file, const std::string& text) {
  DWORD stale = GetFileAttributesW(file.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES && !(stale & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(file.c_str());
  }
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  LARGE_INTEGER size{};
  bool ok = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size() && FlushFileBuffers(handle) && GetFileSizeEx(handle, &size) &&
            static_cast<ULONGLONG>(size.QuadPart) == text.size();
  return CloseHandle(handle) && ok;
}

bool ReplaceFile(const fs::path& from, const fs::path& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const fs::path& file) { DeleteFileW(file.c_str()); }

#else

bool Exists(const fs::path& file) {
  struct stat status;
  return stat(file.c_str(), &status) == 0;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FileRead ReadWholeFile(const fs::path& file, std::string& content) {
  FilePtr f(std::fopen(file.c_str(), "rb"));
  if (!f) return Exists(file) ? FileRead::kNotRead : FileRead::kMissing;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) content.append(buffer, n);
  return std::ferror(f.get()) ? FileRead::kNotRead : FileRead::kRead;
}

bool IsFolderOrReadOnly(const fs::path& file) {
  struct stat status;
  return stat(file.c_str(), &status) == 0 &&
         (S_ISDIR(status.st_mode) || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0);
}

bool WriteNewFile(const fs::path& file, const std::string& text) {
  struct stat stale;
  if (lstat(file.c_str(), &stale) == 0 && !S_ISDIR(stale.st_mode)) unlink(file.c_str());
  int handle = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (handle < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(handle, text.data() + done, text.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (n == 0 || errno != EINTR)
      break;
  }
  struct stat written;
  bool ok = done == text.size() && fsync(handle) == 0 && fstat(handle, &written) == 0 &&
            static_cast<std::size_t>(written.st_size) == text.size();
  return close(handle) == 0 && ok;
}

bool ReplaceFile(const fs::path& from, const fs::path& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void RemoveFile(const fs::path& file) { unlink(file.c_str()); }

#endif

constexpr char kNul = '\0';
constexpr char kCtrlZ = '\x1A';  // the end of a text file

// Bytes that may follow the end of the list without anything being lost.
bool IsFiller(char c) { return c == ' ' || c == '\r' || c == '\n' || c == kCtrlZ; }

}  // namespace

ToolsParse ParseTools(std::string_view content, ToolList& list) {
  std::string_view text = content.substr(0, std::min(content.find(kNul), content.find(kCtrlZ)));
  ItemReader reader{text};
  ToolEntry& scratch = list.ToolTable[0];
  list.ToolCount = 0;
  ToolsParse parse;
  while (HasData(reader)) {
    scratch.Title = ReadItem(reader);
    // An empty title ends the list.
    if (scratch.Title.empty()) break;
    if (HasData(reader)) scratch.File = ReadItem(reader);
    if (HasData(reader)) scratch.WorkDirectory = ReadItem(reader);
    if (HasData(reader)) scratch.Parameters = ReadItem(reader);
    if (list.ToolCount < kMaxTools)
      list.ToolTable[++list.ToolCount] = scratch;
    else
      ++parse.dropped;
  }
  std::string_view rest = content.substr(reader.pos);
  parse.readInPart = std::find_if_not(rest.begin(), rest.end(), IsFiller) != rest.end();
  return parse;
}

std::string FormatTools(const ToolList& list) {
  std::string text;
  for (int i = 1; i <= list.ToolCount; ++i) {
    const ToolEntry& t = list.ToolTable[i];
    for (const std::string* field : {&t.Title, &t.File, &t.WorkDirectory, &t.Parameters}) {
      text += ItemText(*field);
      text += "\r\n";
    }
  }
  text += "\r\n";  // the end mark
  return text;
}

fs::path ToolsFilePath() {
#ifdef _WIN32
  // The rule Vantel's history follows: the per-user folder where the current
  // folder cannot be written.
  return fs::path(WideOf(ProgramFilePlace(kToolsFile)));
#else
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? fs::path(kToolsFile) : folder / kToolsFile;
#endif
}

ToolsFileReading ReadToolsFile(ToolList& list, const fs::path& file) {
  ToolsFileReading read;
  list.ToolCount = 0;
  switch (ReadWholeFile(file, read.bytes)) {
    case FileRead::kMissing:
      read.state = ListFileState::kMissing;
      break;
    case FileRead::kNotRead:
      read.state = ListFileState::kNotRead;
      break;
    case FileRead::kRead: {
      ToolsParse parse = ParseTools(read.bytes, list);
      read.dropped = parse.dropped;
      read.state = parse.readInPart ? ListFileState::kReadInPart : ListFileState::kRead;
      break;
    }
  }
  return read;
}

bool ReadTools(ToolList& list, const fs::path& file, int* dropped) {
  ToolsFileReading read = ReadToolsFile(list, file);
  if (dropped) *dropped = read.dropped;
  return read.state == ListFileState::kRead || read.state == ListFileState::kReadInPart;
}

bool ToolsFileChanged(const ToolsFileReading& read, const fs::path& file) {
  std::string now;
  switch (ReadWholeFile(file, now)) {
    case FileRead::kMissing:
      return read.state != ListFileState::kMissing;
    case FileRead::kNotRead:
      return true;
    case FileRead::kRead:
      break;
  }
  return read.state == ListFileState::kMissing || now != read.bytes;
}

bool MayReplace(const ToolsFileReading& read) {
  return read.state == ListFileState::kMissing || read.state == ListFileState::kRead;
}

bool WriteTools(const ToolList& list, const fs::path& file) {
  // Windows refuses to replace a read-only file; it is left as it is everywhere.
  if (IsFolderOrReadOnly(file)) return false;
  fs::path temporary = file;
  temporary += ".tmp";
  if (!WriteNewFile(temporary, FormatTools(list)) || !ReplaceFile(temporary, file)) {
    RemoveFile(temporary);
    return false;
  }
  return true;
}

MenuRefresh RefreshToolMenu(ToolList& list, const HostForm* host, const fs::path& file) {
  if (!ReadTools(list, file)) return MenuRefresh::kNoList;
  if (host == nullptr || !host->SetToolItem) return MenuRefresh::kNoForm;
  for (int i = 1; i <= kMaxTools; ++i) {
    bool shown = i <= list.ToolCount;
    if (!host->SetToolItem(i, shown ? list.ToolTable[i].Title : std::string(), shown)) return MenuRefresh::kNoForm;
  }
  return MenuRefresh::kDone;
}
