// SaveWholeFile: a merged save whose merge ignores what the file holds.
#include "safesave/save_file.h"

SaveFault SaveWholeFile(const char* name, std::string_view bytes) {
  return SaveMergedFile(name, kSaveWait, [bytes] { return std::optional<std::string>(bytes); });
}
