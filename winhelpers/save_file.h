// Saving a whole file so that a fault never costs what it held: the bytes go to a
// temporary file beside it (the name followed by ".tmp"), which takes the file's
// place only once every byte of it is known to be on the disk.
#pragma once

#include <string_view>

enum class SaveFault {
  kNone,
  kFolder,           // a folder has the file's name
  kReadOnly,         // the file is read-only: it is left as it is
  kTemporaryFolder,  // a folder has the temporary file's name
  kDiskFull,         // the disk has no room for the new contents
  kNotWritten,       // the temporary file could not be created or written
  kNotReplaced,      // the temporary file could not take the file's place
};

// Makes the bytes the whole contents of the named file. Each write, the final
// flush and the size of the temporary file are checked before it replaces the
// file. A temporary file left by an earlier save that was cut short is replaced.
// On any fault the file is left byte for byte as it was and no temporary file
// stays behind. The name is UTF-8, so that folders may hold any letters.
SaveFault SaveWholeFile(const char* name, std::string_view bytes);
