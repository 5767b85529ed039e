// The formula history file "ults.rel": one formula per line, CR LF after each,
// in the current folder or the per-user folder (userfiles/file_place.h). The list itself lives in the formula combo
// box; this is the part that needs no window.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "format/short_string.h"
#include "portable/text_file.h"
#include "safesave/save_file.h"

inline constexpr char kHistoryFileName[] = "ults.rel";

// Entry positions are 16-bit numbers, so the list stops growing here.
constexpr std::size_t kMaxHistoryEntries = 65535;

// A formula matches an entry only when both are equal with letter case ignored
// (Windows-1252 letters included).
bool HistoryEntryMatches(std::string_view entry, std::string_view formula);

// Passes each line of an opened history file to add, in order, stopping after
// kMaxHistoryEntries lines in all (already_held counts the entries the list
// has). False when the file could not be read whole: it could not be opened, a
// reading fault happened, it holds more lines than the list can take, a NUL byte
// or the byte-order mark of UTF-16 (another encoding), or text after a Ctrl-Z.
// The file then must not be overwritten, or what it held would be lost. A line
// longer than 255 characters is read as its first 255: that is how the file is
// read, not a fault.
bool ReadHistoryLines(TextFile* file, std::size_t already_held, const std::function<void(const ShortString&)>& add);

// The list to save when another copy of the program may have saved the file since
// this one read it: the file's entries as they are now, then this copy's added
// entries that match none of them (the list only grows, so nothing either copy
// added is lost). *full is set when added entries were left out because the list
// would hold more than kMaxHistoryEntries.
std::vector<ShortString> MergeHistory(std::vector<ShortString> on_disk, const std::vector<ShortString>& added,
                                      bool* full);

// The bytes of the history file that holds the entries: each followed by CR LF.
std::string HistoryFileBytes(const std::vector<ShortString>& entries);

// Writes the entries as the whole history file (SaveWholeFile): a fault never
// leaves it truncated or changed. The result tells what went wrong, if anything.
SaveFault WriteHistoryFile(const char* name, const std::vector<ShortString>& entries);

// The messages about the history file, shown with this caption.
inline constexpr char kHistoryCaption[] = "* error *";
// At start: the file exists but could not be read whole; it is kept as it is.
ShortString HistoryUnreadableText();
// At start: neither the current folder nor the per-user folder can take the file,
// so the formulas of the session are kept only while the program runs.
ShortString HistoryNowhereText();
// At close: the file, read whole at start, cannot be read whole now (another
// program changed or holds it); it is kept as it is.
ShortString HistoryChangedText();
// At close: the list was full, so formulas were left out of it.
ShortString HistoryFullText();
// At close: why the history could not be saved.
ShortString HistoryNotSavedText(SaveFault fault);
