#include "app/history.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "format/text.h"

bool HistoryEntryMatches(std::string_view entry, std::string_view formula) {
  if (entry.size() != formula.size()) return false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    if (FoldCase(entry[i]) != FoldCase(formula[i])) {
      return false;
    }
  }
  return true;
}

bool ReadHistoryLines(TextFile* file, std::size_t already_held, const std::function<void(const ShortString&)>& add) {
  if (!IsOpen(*file)) return false;
  std::size_t count = already_held;
  while (!AtEnd(file)) {
    // Lines the list cannot take would be lost by the next save: the file is
    // then left as it is.
    if (count >= kMaxHistoryEntries) return false;
    ShortString line = ReadLine(file);
    if (file->failed) return false;
    add(line);
    ++count;
  }
  return !file->failed;
}

bool WriteHistoryFile(const char* name, const std::vector<ShortString>& entries) {
  std::string temporary = std::string(name) + ".tmp";
  TextFile file;
  bool written = OpenForWriting(&file, temporary.c_str());
  if (written) {
    for (const ShortString& entry : entries) WriteLine(&file, entry.view());
  }
  written = Close(&file) && written;
  std::error_code fault;
  if (written) std::filesystem::rename(temporary, name, fault);
  if (!written || fault) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
