#include "tools/tool_list.h"

#include <cstdio>
#include <memory>

#include "tools/items.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool ReadWholeFile(const std::string& file, std::string& content) {
  FilePtr f(std::fopen(file.c_str(), "rb"));
  if (!f) return false;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) content.append(buffer, n);
  return !std::ferror(f.get());
}

#ifdef _WIN32

// The file calls of Windows, not the C runtime's: its fclose can report success
// when the final flush failed on a full disk.
bool IsFolderOrReadOnly(const std::string& file) {
  DWORD attributes = GetFileAttributesA(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0;
}

// Creates the file anew with the text, every byte of it flushed to the disk.
bool WriteNewFile(const std::string& file, const std::string& text) {
  DWORD stale = GetFileAttributesA(file.c_str());
  if (stale != INVALID_FILE_ATTRIBUTES && !(stale & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  LARGE_INTEGER size{};
  bool ok = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size() && FlushFileBuffers(handle) && GetFileSizeEx(handle, &size) &&
            static_cast<ULONGLONG>(size.QuadPart) == text.size();
  return CloseHandle(handle) && ok;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const std::string& file) { DeleteFileA(file.c_str()); }

#else

bool IsFolderOrReadOnly(const std::string& file) {
  struct stat status;
  return stat(file.c_str(), &status) == 0 &&
         (S_ISDIR(status.st_mode) || (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0);
}

bool WriteNewFile(const std::string& file, const std::string& text) {
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

bool ReplaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void RemoveFile(const std::string& file) { unlink(file.c_str()); }

#endif

}  // namespace

int ParseTools(std::string_view content, ToolList& list) {
  ItemReader reader{content};
  ToolEntry& scratch = list.ToolTable[0];
  list.ToolCount = 0;
  int dropped = 0;
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
      ++dropped;
  }
  return dropped;
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

bool ReadTools(ToolList& list, const std::string& file, int* dropped) {
  list.ToolCount = 0;
  std::string content;
  if (!ReadWholeFile(file, content)) return false;
  int extra = ParseTools(content, list);
  if (dropped) *dropped = extra;
  return true;
}

bool ToolsFileExists(const std::string& file) {
#ifdef _WIN32
  return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat status;
  return stat(file.c_str(), &status) == 0;
#endif
}

bool WriteTools(const ToolList& list, const std::string& file) {
  // Windows refuses to replace a read-only file; it is left as it is everywhere.
  if (IsFolderOrReadOnly(file)) return false;
  const std::string temporary = file + ".tmp";
  if (!WriteNewFile(temporary, FormatTools(list)) || !ReplaceFile(temporary, file)) {
    RemoveFile(temporary);
    return false;
  }
  return true;
}

MenuRefresh RefreshToolMenu(ToolList& list, const HostForm* host, const std::string& file) {
  if (!ReadTools(list, file)) return MenuRefresh::kNoList;
  if (host == nullptr || !host->SetToolItem) return MenuRefresh::kNoForm;
  for (int i = 1; i <= kMaxTools; ++i) {
    bool shown = i <= list.ToolCount;
    if (!host->SetToolItem(i, shown ? list.ToolTable[i].Title : std::string(), shown)) return MenuRefresh::kNoForm;
  }
  return MenuRefresh::kDone;
}
