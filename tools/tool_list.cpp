#include "tools/tool_list.h"

#include <cstdio>
#include <memory>

#include "tools/items.h"

#ifdef _WIN32
#include <windows.h>
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
  return true;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

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

bool WriteTools(const ToolList& list, const std::string& file) {
  const std::string temporary = file + ".tmp";
  const std::string text = FormatTools(list);
  {
    FilePtr f(std::fopen(temporary.c_str(), "wb"));
    if (!f) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
    if (std::fclose(f.release()) != 0 || !written) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (!ReplaceFile(temporary, file)) {
    std::remove(temporary.c_str());
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
