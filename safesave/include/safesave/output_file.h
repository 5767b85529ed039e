// Writing a file that the user named (the picture of vantel-cli's --plot), on top
// of the safe save: a failed write never costs what the path held before, and a
// path that is no regular file is written as what it is.
//
// - A regular file, or a path where nothing is yet: the bytes go to a new
//   temporary file beside it (the name followed by ".tmp", or ".1.tmp" and so on
//   when that name is taken), which takes the path's place only once every byte
//   is written, flushed and closed without a fault.
// - A symbolic link is followed: the file it names is the one replaced, and the
//   link stays.
// - A path that names an open descriptor (/dev/stdout, /dev/fd/N, /proc/self/fd/N
//   or a link to one) is written through that descriptor, at its position (after
//   what a file opened for appending holds); the file behind it is never replaced.
// - Anything else (a device such as /dev/full or NUL, a FIFO or pipe) is written in
//   place, after what it may hold already (never cut short), and is never removed
//   or replaced.
// - A folder, or an existing file this user may not write, is left as it is.
// Nothing is ever removed but a temporary file this call created.
#pragma once

#include <string>
#include <string_view>

#include "safesave/save_file.h"

// Writes the bytes as the file at path (UTF-8): kNone, or the fault with *reason
// saying why in the system's few English words ("No space left on device").
SaveFault WriteOutputFile(const std::string& path, std::string_view bytes, std::string* reason);
