// Files, the program's own name, starting another program and window titles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "format/short_string.h"
#include "portable/text_file.h"

// True when an entry matches the name (wildcards allowed) that is not a folder, a
// system file or a volume label; hidden files count.
bool FileExists(const ShortString& name);

// False when FileExists is false. Otherwise the file is opened for reading and
// the result is true even when the opening fails: the file then reads as empty
// and IsOpen tells the difference.
bool OpenTextForReading(const ShortString& name, TextFile* file);

// What OpenTextAt found at a path.
enum class FileOpening {
  kMissing,  // no file of that name (a folder counts as none)
  kNotRead,  // a file FileExists does not count (a system file): it is there, but not read
  kOpened,   // opened for reading, or tried: IsOpen tells whether the opening failed
};

// OpenTextForReading for a full path in UTF-8, so that folders may hold any letters.
FileOpening OpenTextAt(const std::string& path, TextFile* file);

// Opens a help text, found in the current folder or else beside the program, in
// the system's own Notepad, started by its full path (never a "notepad.exe" that
// lies in the program's folder or the current folder). Does not wait; false when
// Notepad could not be started.
bool OpenHelpText(const char* name);

// Creates the file, or empties an existing one, for writing; false on failure.
bool OpenTextForWriting(const ShortString& name, TextFile* file);

// The full path of the program's own executable, at most 254 characters.
ShortString ProgramPath();

// The program's file name without folder and extension ("Vantel").
ShortString ProgramName();

// The year of the last change of the first matching file that is not hidden, a
// system file, a folder or a volume label, in local time; empty when no such
// file is found.
ShortString FileYearText(const ShortString& name);

// The same for the program's own executable, found by its full path whatever
// characters the path holds and however long it is.
ShortString ProgramFileYearText();

// Starts the command line with WinExec; the low 16 bits of its result (below 32
// when the program could not be started). Does not wait.
std::uint16_t RunProgram(const ShortString& command_line);

void SetCaption(HWND window, const ShortString& text);
