// The name of this process's temporary file of a save, and the test for one that an earlier save left behind.
#include "safesave/save_file_names.h"

#include <algorithm>

std::string TemporarySuffix(unsigned long process) {
  std::string suffix(".");
  suffix += std::to_string(process);
  suffix += ".tmp";
  return suffix;
}

bool IsLeftTemporary(std::string_view file_name, std::string_view entry) {
  constexpr std::string_view kEnd = ".tmp";
  if (entry.size() < file_name.size() + kEnd.size() || !entry.starts_with(file_name) || !entry.ends_with(kEnd))
    return false;
  std::string_view middle = entry.substr(file_name.size(), entry.size() - file_name.size() - kEnd.size());
  if (middle.empty()) return true;
  middle.remove_prefix(1);
  return entry[file_name.size()] == '.' && !middle.empty() &&
         std::all_of(middle.begin(), middle.end(), [](char c) { return c >= '0' && c <= '9'; });
}
