// The formula history file "ults.rel": one formula per line, CR LF after each,
// in the current folder. The list itself lives in the formula combo box; this
// is the part that needs no window.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "format/short_string.h"
#include "winhelpers/save_file.h"
#include "winhelpers/text_file.h"

inline constexpr char kHistoryFileName[] = "ults.rel";

// Entry positions are 16-bit numbers, so the list stops growing here.
constexpr std::size_t kMaxHistoryEntries = 65535;

// A formula matches an entry only when both are equal with letter case ignored
// (Windows-1252 letters included).
bool HistoryEntryMatches(std::string_view entry, std::string_view formula);

// Passes each line of an opened history file to add, in order, stopping after
// kMaxHistoryEntries lines in all (already_held counts the entries the list
// has). False when the file could not be opened, a reading fault happened or the
// file holds more lines than the list can take: the file then must not be
// overwritten, or what it held would be lost.
bool ReadHistoryLines(TextFile* file, std::size_t already_held, const std::function<void(const ShortString&)>& add);

// Writes the entries as the whole history file (SaveWholeFile): a fault never
// leaves it truncated or changed. The result tells what went wrong, if anything.
SaveFault WriteHistoryFile(const char* name, const std::vector<ShortString>& entries);

// The messages about the history file, shown with this caption.
inline constexpr char kHistoryCaption[] = "* error *";
// At start: the file exists but could not be read whole; it is kept as it is.
ShortString HistoryUnreadableText();
// At close: the list was full, so formulas were left out of it.
ShortString HistoryFullText();
// At close: why the history could not be saved.
ShortString HistoryNotSavedText(SaveFault fault);
