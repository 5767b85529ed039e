// Saving a whole file so that a fault never costs what it held, and so that copies
// of the programs saving the same file at the same moment lose nothing.
//
// - The bytes go to a temporary file beside it, named after the file and the
//   saving process ("ults.rel.1234.tmp"), which takes the file's place only once
//   every byte of it is known to be on the disk.
// - Reading the file as it is now, making the new contents from it and replacing
//   it are one step that no other copy interleaves: each save holds a lock while
//   it does so, a lock file beside the file ("ults.rel.lock") opened without
//   sharing and deleted when it is closed. A copy that is killed therefore leaves
//   no lock behind, and temporary files it left are removed by the next save. The
//   lock is held for that step only, never while a message is shown.
// - A file that is a symbolic link is saved through it: the file it names is
//   replaced (with the lock and the temporary file beside that file), and the link
//   stays.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What went wrong with a save, the same words for every kind of save (this one and
// output_file.h's).
enum class SaveFault {
  kNone,
  kFolder,       // a folder has the file's name
  kReadOnly,     // the file is read-only (or this user may not write it): it is left as it is
  kDiskFull,     // the disk has no room for the new contents
  kNotWritten,   // the temporary file (or the lock file) could not be created or written
  kNotReplaced,  // the temporary file could not take the file's place
  kBusy,         // locked: another copy (or program) held the file for the whole wait; nothing was written
  kDevice,       // a device, pipe or descriptor written in place did not take every byte
  kLink,         // the symbolic links of the name could not be followed (too many, or unreadable)
};

// How long a save waits for another copy's save of the same file to end. A save
// takes a fraction of a second even for the largest history.
inline constexpr std::chrono::milliseconds kSaveWait{5000};

// Makes the new contents of a file from what it holds now; called while the lock
// is held, so that no other copy changes the file between the reading and the
// replacing. No value leaves the file as it is.
using MergeStep = std::function<std::optional<std::string>()>;

// Replaces the named file with what `merge` makes of it, waiting up to `wait` for
// the lock. Each write, the final flush and the size of the temporary file are
// checked before it replaces the file. On any fault the file is left byte for byte
// as it was and no temporary file of this save stays behind; kNone also when
// `merge` left the file as it is. The name is UTF-8, so that folders may hold any
// letters.
SaveFault SaveMergedFile(const char* name, std::chrono::milliseconds wait, const MergeStep& merge);

// Makes the bytes the whole contents of the named file (SaveMergedFile with a
// merge that ignores what the file holds).
SaveFault SaveWholeFile(const char* name, std::string_view bytes);
