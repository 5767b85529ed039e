// Where the programs' own files live, and where a help text is found. Shared by
// Vantel and Tools, which keep "ults.rel" and "Tools.rel" by the same rule:
// - in the current folder when a file can be created there (a portable copy on a
//   USB stick or in a class folder, with a teacher's prepared file beside it);
// - otherwise (a program installed where users cannot write) in the per-user
//   folder, created when needed; the first time, a file of that name in the
//   current folder is copied there, so that a school can ship a starting file;
// - where neither folder can take the file (no per-user folder, or one that cannot
//   be made, with its missing parents, or written, or the starting file cannot be
//   copied into it), the file is read where it is and never lost, and the program
//   says at start that what the user adds will not be saved.
// Paths are UTF-8 texts, so that folders may hold any letters; only the Windows
// calls see them as UTF-16.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The questions the rules ask of the file system, answered by the platform.
struct FolderQueries {
  // True when a file can be created in the folder; nothing may stay behind.
  std::function<bool(const std::string& folder)> can_write;
  // True when the folder exists or could be created, with any missing parents.
  std::function<bool(const std::string& folder)> make_folder;
  // True when a file (not a folder) of that path exists.
  std::function<bool(const std::string& path)> file_exists;
  // Copies a file to a path where none exists yet; false when it could not.
  std::function<bool(const std::string& from, const std::string& to)> copy_new;
};

// The folder and the name joined by "\" (none is added after a "\" or "/").
std::string JoinPath(std::string_view folder, std::string_view name);

// The part of a path before its last "\" or "/"; empty when it has none.
std::string FolderOf(std::string_view path);

// True for a path that names its drive and starts at its root ("C:\...") or
// names a share ("\\server\share..."): one that does not depend on the current folder.
bool IsFullPath(std::string_view path);

// Where the program's file is kept.
struct FilePlacement {
  std::string path;  // its full path
  bool writable;     // false when no folder could take it: it is read there, but never saved
};

// The place of the program's file `name` by the rule above. `user_folder` is the
// per-user folder, empty when the system gives none.
FilePlacement FilePlace(const std::string& current_folder, const std::string& user_folder, std::string_view name,
                        const FolderQueries& ask);

// A help text is looked for in the current folder first (a teacher's own texts
// win), then beside the program. When neither holds it, the current folder's path
// is given, so that the editor says the file is missing, as it always did.
std::string HelpTextPlace(const std::string& current_folder, const std::string& program_folder, std::string_view name,
                          const FolderQueries& ask);

// The command line that opens a file in a program, both given by full paths and
// quoted, so that folders with blanks work.
std::string OpenFileCommandLine(std::string_view program, std::string_view file);
