// The list's file "Tools.rel": found, read, parsed, formatted, and saved only if unchanged since it was read.
#include "tools/tool_list.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "safesave/save_file.h"
#include "tools/items.h"

#ifdef _WIN32
#include <windows.h>

#include "userfiles/folders.h"
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

enum class FileRead { kRead, kMissing, kNotRead };

#ifdef _WIN32

// The wide file calls take the path as it is, whatever characters the folder
// names hold.
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

ToolsFilePlace FindToolsFile() {
#ifdef _WIN32
  // The rule Vantel's history follows: the per-user folder where the current
  // folder cannot be written.
  const FilePlacement place = ProgramFilePlace(kToolsFile);
  return {fs::path(WideOf(place.path)), place.writable};
#else
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return {error ? fs::path(kToolsFile) : folder / kToolsFile, true};
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
      read.bytes.clear();  // what part of it was read tells nothing
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

namespace {

// The file as it is now: what ReadToolsFile finds, without touching the list.
ToolsFileReading ReadToolsFileNow(const fs::path& file) {
  ToolList scratch;
  return ReadToolsFile(scratch, file);
}

bool WasRead(ListFileState state) { return state == ListFileState::kRead || state == ListFileState::kReadInPart; }

// Two readings of the file differ when one found it and the other did not, or
// both read it and its bytes differ. A file that could not be read either time
// has not changed as far as anyone can tell.
bool Differs(const ToolsFileReading& before, const ToolsFileReading& now) {
  if (WasRead(before.state) != WasRead(now.state)) return true;
  if (WasRead(now.state)) return now.bytes != before.bytes;
  return now.state != before.state;
}

// The UTF-8 name the shared saving takes.
std::string Utf8Name(const fs::path& file) {
  const std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

ToolsSave SaveResult(SaveFault fault) {
  switch (fault) {
    case SaveFault::kNone:
      return ToolsSave::kSaved;
    case SaveFault::kBusy:
      return ToolsSave::kBusy;
    default:
      return ToolsSave::kNotWritten;
  }
}

}  // namespace

bool ToolsFileChanged(const ToolsFileReading& read, const fs::path& file) {
  return Differs(read, ReadToolsFileNow(file));
}

bool MayReplace(const ToolsFileReading& read) {
  return read.state == ListFileState::kMissing || read.state == ListFileState::kRead;
}

bool WriteTools(const ToolList& list, const fs::path& file) {
  return SaveWholeFile(Utf8Name(file).c_str(), FormatTools(list)) == SaveFault::kNone;
}

ToolsSave SaveToolsIfUnchanged(const ToolList& list, const fs::path& file, const ToolsFileReading& read,
                               ToolsFileReading* now) {
  bool changed = false;
  const SaveFault fault = SaveMergedFile(Utf8Name(file).c_str(), kSaveWait, [&]() -> std::optional<std::string> {
    *now = ReadToolsFileNow(file);
    changed = Differs(read, *now);
    if (changed) return std::nullopt;
    return FormatTools(list);
  });
  if (fault == SaveFault::kNone && changed) return ToolsSave::kChanged;
  return SaveResult(fault);
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
