// The tool list of Tools and its file "Tools.rel".
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// One external tool.
struct ToolEntry {
  std::string Title;          // the name shown in the list
  std::string File;           // the program file
  std::string WorkDirectory;  // the working folder
  std::string Parameters;     // the parameters
};

constexpr int kMaxTools = 12;  // slots 1 to 12 hold tools
inline constexpr const char* kToolsFile = "Tools.rel";

// Slots 1 to ToolCount hold the tools in list order; slot 0 is the reader's scratch slot.
struct ToolList {
  std::array<ToolEntry, kMaxTools + 1> ToolTable;
  std::uint16_t ToolCount = 0;
};

// What reading the tools from the text of a list file found.
struct ToolsParse {
  int dropped = 0;          // tools beyond the twelfth, read but not kept
  bool readInPart = false;  // reading stopped while more than blanks and line ends was left
};

// Reads the tools from the text of a list file into list (ToolCount from 0 up).
// Four fields make a tool; reading stops at an empty title; a field missing at the
// end keeps the value slot 0 already held. The text ends at its first NUL or
// Ctrl-Z. Whatever follows the place where reading stopped, other than blanks,
// line ends and Ctrl-Z, was not read: tools after an empty line, text after a
// Ctrl-Z, a file in another encoding (UTF-16 holds a NUL in nearly every
// character).
ToolsParse ParseTools(std::string_view content, ToolList& list);

// The text of a list file: four lines per tool, then an empty end line.
std::string FormatTools(const ToolList& list);

// Where "Tools.rel" is kept.
struct ToolsFilePlace {
  std::filesystem::path path;  // its full path
  bool writable = true;        // false when no folder can take it: Ok cannot save the list
};

// The place of "Tools.rel", taken once at start, so that the list is read and
// written there whatever the current folder is later. Under Windows it is in the
// current folder when a file can be created there, else in the per-user folder,
// seeded once from the current folder's file (userfiles/folders.h).
ToolsFilePlace FindToolsFile();

enum class ListFileState {
  kMissing,     // nothing of that name exists: the list starts empty
  kRead,        // read to its end
  kReadInPart,  // read, but reading stopped before the end (ToolsParse::readInPart)
  kNotRead,     // something of that name exists but could not be read
};

// What reading the list file at start found; what a later save must respect.
struct ToolsFileReading {
  ListFileState state = ListFileState::kMissing;
  int dropped = 0;    // tools beyond the twelfth
  std::string bytes;  // the file as it was read
};

// Reads the list file into list (ToolCount is 0 when it is missing or not read).
ToolsFileReading ReadToolsFile(ToolList& list, const std::filesystem::path& file);

// Reads the list file. False when it cannot be opened (ToolCount is then 0).
// *dropped, when given, receives the number of tools beyond the twelfth.
bool ReadTools(ToolList& list, const std::filesystem::path& file = kToolsFile, int* dropped = nullptr);

// True when the file is no longer what was read from it: written, created or
// removed since by another copy of Tools or another program, or unreadable now
// when it was read then.
bool ToolsFileChanged(const ToolsFileReading& read, const std::filesystem::path& file);

// A list file that was not read to its end is never replaced: the tools it holds
// beyond what was read would be lost.
bool MayReplace(const ToolsFileReading& read);

// Writes the list file with the saving that both programs share
// (safesave/save_file.h): through a temporary file that replaces it only once
// every byte of it is on the disk, under the lock of the file's saves. False when
// it could not be written: a full disk, a folder in the way, a read-only list
// file, another copy saving it for the whole wait among the causes. The old file
// is then left as it was and no temporary file stays behind.
bool WriteTools(const ToolList& list, const std::filesystem::path& file = kToolsFile);

// What saving the list with Ok did.
enum class ToolsSave {
  kSaved,       // the list file holds the list
  kChanged,     // the file is no longer what was read from it: left as it is
  kBusy,        // another copy was saving it for the whole wait: left as it is
  kNotWritten,  // it could not be written (see WriteTools): left as it is
};

// Replaces the list file with the list unless it changed since `read` was made
// (ToolsFileChanged). The comparison and the replacing are one step under the
// lock of the file's saves, so that a copy saving at the same moment either
// saved before it (the file has then changed) or saves after it. When the file
// changed, *now receives what it holds now.
ToolsSave SaveToolsIfUnchanged(const ToolList& list, const std::filesystem::path& file, const ToolsFileReading& read,
                               ToolsFileReading* now);

// A program that shows the tools as its menu items ITool(1) to ITool(12).
struct HostForm {
  // Shows ITool(i) with the caption, or hides it (the caption is then not used);
  // false when the item cannot be reached.
  std::function<bool(int i, const std::string& caption, bool visible)> SetToolItem;
};

enum class MenuRefresh {
  kNoList,  // the list file could not be read: nothing done
  kDone,    // the host's menu shows the tools
  kNoForm,  // the host could not be reached: the caller says "No Form"
};

// Reads the list file again and shows its tools in the host's menu.
MenuRefresh RefreshToolMenu(ToolList& list, const HostForm* host, const std::filesystem::path& file = kToolsFile);
