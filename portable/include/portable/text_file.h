// A line-oriented text file: the history file is read through it.
#pragma once

#include <cstdio>
#include <string_view>

#include "format/short_string.h"

inline constexpr std::string_view kLineEnd = "\r\n";  // ends every written line

// Reading rules: CR LF, LF alone and CR alone each end a line; a line longer
// than 255 characters gives its first 255 and the rest of the line is skipped; a
// Ctrl-Z where a line would begin ends the file; a last line without a line end
// is read like the others. Writing ends every line with CR LF.
//
// A file that is not open (never opened, or its opening failed) reads as an empty
// file and ignores writes.
struct TextFile {
  std::FILE* handle = nullptr;
  bool failed = false;   // an opening, reading or writing fault happened
  bool writing = false;  // opened for writing

  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile();
};

// Opens the named file for reading; false when it cannot be opened.
bool OpenForReading(TextFile* file, const char* name);

// Creates the named file, or empties an existing one, for writing; false when
// that fails.
bool OpenForWriting(TextFile* file, const char* name);

// Takes a file the caller opened for reading (binary) with the platform's own
// call, for names the C runtime cannot open; false when it is null.
bool AttachForReading(TextFile* file, std::FILE* opened);

bool IsOpen(const TextFile& file);

// True when no further line can be read: at the end of the data, at a Ctrl-Z
// where a line would begin, or when the file is not open.
bool AtEnd(TextFile* file);

// Reads the next line without its line end; at the end the line is empty.
ShortString ReadLine(TextFile* file);

// After AtEnd: true when nothing but blanks, line ends and Ctrl-Z characters is
// left, so the lines read were all the file held. Reads what is left.
bool OnlyBlanksLeft(TextFile* file);

// Writes the text followed by CR LF.
void WriteLine(TextFile* file, std::string_view text);

// Closes the file; false when a fault happened at any time while it was open
// (including the final flush of written data).
bool Close(TextFile* file);
