// The folders of the running program, found with the wide-character Windows calls
// so that any letters in their names survive, and the file rules of file_place.h
// answered by this system. Paths are UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "userfiles/file_place.h"
#include "widenames/wide_names.h"

std::string CurrentFolder();
// The full path of the program's own executable, and its folder.
std::string ProgramFile();
std::string ProgramFolder();
// The per-user folder, %APPDATA%\Vantel, whether it exists or not; empty when the
// system names no application-data folder. An APPDATA that is not a full path
// would depend on the current folder: the system's own folder is taken instead, as
// when APPDATA is not set.
std::string UserFolder();

// The place of the program's file `name` ("ults.rel", "Tools.rel"), found once at
// start by the rule of file_place.h; it may create the per-user folder and copy
// the current folder's file into it.
FilePlacement ProgramFilePlace(std::string_view name);

// The full path of the help text `name`: in the current folder, else beside the program.
std::string HelpTextPath(std::string_view name);

// Opens the file for reading in binary mode; null when it cannot be opened.
std::FILE* OpenFileForReading(const std::string& path);

// True when a file (not a folder) of that path exists; *attributes, when given,
// receives its Windows attributes.
bool PathIsFile(const std::string& path, unsigned long* attributes = nullptr);
