// The file calls that both kinds of save share, for each platform: writing every
// byte, making a new file's bytes sure on the disk, and what a system error means
// in the faults of a save.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "safesave/save_file.h"

#ifdef _WIN32
using FileHandle = void*;  // a HANDLE
#else
using FileHandle = int;  // a descriptor
#endif

// errno, or GetLastError(); 0 is no error.
using SystemError = unsigned long;

// Writes every byte to the open file; 0 or the error. A write that takes no byte
// at all is an error of its own (a full disk on Windows, EIO elsewhere).
SystemError WriteAll(FileHandle file, std::string_view bytes);

// Writes every byte to a new, empty file, flushes them to the disk, checks its size
// and closes it (also after a fault); 0 or the first error.
SystemError WriteNewFile(FileHandle file, std::string_view bytes);

// No error is kNone, a full disk (or quota) kDiskFull, every other error `otherwise`.
SaveFault FaultOf(SystemError error, SaveFault otherwise = SaveFault::kNotWritten);

#ifdef _WIN32
// What a file's attributes (GetFileAttributesW's, or INVALID_FILE_ATTRIBUTES for
// no file) put in the way of replacing it: kFolder, kReadOnly, or kNone. Asked
// before anything is written: Wine's rename would replace a read-only file and
// drop its flag, where Windows refuses.
SaveFault FaultOfAttributes(unsigned long attributes);
#endif

// The error in a few English words, the same on every platform where they can be
// ("No space left on device").
std::string SystemErrorText(SystemError error);
